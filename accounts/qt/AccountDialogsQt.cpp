#include "accounts/qt/AccountDialogsQt.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>

#include "controls/qt/PropertyForm.h"
#include "controls/qt/QtText.h"
#include "core/IdObjectList.h"
#include "envelopes/EnvelopeList.h"

bool TAccountDialogsQt::EditAccount(TAccountBuffer& buffer) {
    TPropertyForm form("Edit Account Properties", parent);
    form.AddName(buffer.name);
    TAccountTypeList kinds;
    const auto kindNames = kinds.GetStringList(0);
    QComboBox* kind = form.AddCombo("&Type of Account:", "kind", kindNames->Items(),
                                    static_cast<int>(buffer.kind) - 1);
    // The default envelope is picked by name and kept as the id the name stands for.
    std::vector<std::string> names;
    std::vector<uint32_t> ids;
    if (buffer.envelopes) {
        for (const std::string& name : buffer.envelopes->GetStringList(ListEnvelopes)->Items()) {
            names.push_back(name);
            ids.push_back(buffer.envelopes->FindId(name));
        }
    }
    const auto current = std::find(ids.begin(), ids.end(), buffer.defaultEnvelope);
    QComboBox* envelope =
        form.AddCombo("Default &Envelope:", "defaultEnvelope", names,
                      current == ids.end() ? -1 : static_cast<int>(current - ids.begin()));
    form.AddDescription(buffer.description);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    buffer.kind =
        kind->currentIndex() >= 0 ? static_cast<uint32_t>(kind->currentIndex()) + 1 : buffer.kind;
    const int chosen = envelope->currentIndex();
    buffer.defaultEnvelope =
        chosen >= 0 ? ids[static_cast<size_t>(chosen)] : buffer.defaultEnvelope;
    buffer.description = form.Description();
    return true;
}

bool TAccountDialogsQt::EditAccountGroup(TAccountGroupBuffer& buffer) {
    TPropertyForm form("Edit Account Group Properties", parent);
    form.AddName(buffer.name);
    form.AddDescription(buffer.description);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    buffer.description = form.Description();
    return true;
}

bool TAccountDialogsQt::EditAccountRoot(TAccountRootBuffer& buffer) {
    TPropertyForm form("Edit Account Root Properties", parent);
    form.AddName(buffer.name);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    return true;
}

bool TAccountDialogsQt::ChooseAccount(TChooseAccountBuffer& buffer) {
    TPropertyForm form(FromWindows1252(buffer.caption), parent);
    form.setObjectName("selectAccount");
    QListWidget* list = form.AddList({}, "accounts", buffer.names, buffer.selected);
    if (!form.Run() || list->currentRow() < 0) return false;
    buffer.selected = list->currentRow();
    return true;
}
