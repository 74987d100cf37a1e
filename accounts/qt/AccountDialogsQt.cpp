#include "accounts/qt/AccountDialogsQt.h"

#include "controls/qt/Choosers.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/PropertyForm.h"
#include "controls/qt/QtText.h"
#include "core/IdObjectList.h"
#include "envelopes/EnvelopeList.h"

bool TAccountDialogsQt::EditAccount(TAccountBuffer& buffer) {
    TPropertyForm form("Edit Account Properties", parent);
    form.AddName(buffer.name);
    TAccountTypeList kinds;
    TIdComboBox* kind = form.AddIdCombo("&Type of Account:", "kind", kinds, 0, buffer.kind);
    TIdComboBox* envelope = nullptr;
    if (buffer.envelopes)
        envelope = form.AddIdCombo("Default &Envelope:", "defaultEnvelope", *buffer.envelopes,
                                   ListEnvelopes, buffer.defaultEnvelope);
    form.AddDescription(buffer.description);
    if (!form.Run(buffer.checkName)) return false;
    if (const uint32_t id = kind->GetId()) buffer.kind = id;
    if (envelope) buffer.defaultEnvelope = envelope->GetId();
    return true;
}

bool TAccountDialogsQt::EditAccountGroup(TAccountGroupBuffer& buffer) {
    return EditItemProperties("Edit Account Group Properties", parent, buffer);
}

bool TAccountDialogsQt::EditAccountRoot(TAccountRootBuffer& buffer) {
    return EditItemProperties("Edit Account Root Properties", parent, buffer);
}

bool TAccountDialogsQt::ChooseAccount(TChooseAccountBuffer& buffer) {
    TIdObjectChooser chooser(TChooserFace::Account, parent);
    if (!buffer.caption.empty()) chooser.setWindowTitle(FromWindows1252(buffer.caption));
    return chooser.Run(buffer.names, buffer.selected);
}
