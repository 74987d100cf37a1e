#include "controls/qt/IdControls.h"

#include "controls/ListControls.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"
#include "core/IdObjectList.h"

TIdComboBox::TIdComboBox(QWidget* parent, const char* objectName, const QString& label,
                         const TIdObjectList& list, uint32_t flags, uint32_t defaultId)
    : QComboBox(parent), list(list), names(list.GetStringList(flags)), defaultId(defaultId) {
    NameControl(this, objectName, label);
    for (const std::string& name : names->Items())
        addItem(FromWindows1252(name));
}

void TIdComboBox::SetId(uint32_t id) {
    setCurrentIndex(static_cast<int>(IdControlPosition(list, *names, id, defaultId)) - 1);
}

uint32_t TIdComboBox::GetId() const {
    return IdControlId(list, ToWindows1252(currentText()));
}

TIdListBox::TIdListBox(QWidget* parent, const char* objectName, const QString& label,
                       const TIdObjectList& list, uint32_t flags, uint32_t defaultId)
    : QListWidget(parent), list(list), names(list.GetStringList(flags)), defaultId(defaultId) {
    NameControl(this, objectName, label);
    for (const std::string& name : names->Items())
        addItem(FromWindows1252(name));
}

void TIdListBox::SetId(uint32_t id) {
    const int row = static_cast<int>(IdControlPosition(list, *names, id, defaultId)) - 1;
    if (row < 0) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(row);
}

void TIdListBox::GetId(uint32_t& buffer) const {
    const QList<QListWidgetItem*> chosen = selectedItems();
    if (chosen.isEmpty()) return;
    buffer = IdControlId(list, ToWindows1252(chosen.front()->text()));
}
