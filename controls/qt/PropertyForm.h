// A small property dialog: labelled fields one under the other, OK and Cancel. OK first asks the
// name check (when there is one) with the name as typed; a refused name keeps the dialog open
// with the focus in the name field. The name, description, amount and check fields edit the
// value they are given and write it back only when the dialog ends with OK.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class TEditFloat;
class TIdComboBox;
class TIdObjectList;

class TPropertyForm : public QDialog {
    Q_OBJECT

public:
    TPropertyForm(const QString& title, QWidget* parent);

    // "&Name:", at most maxLength characters.
    QLineEdit* AddName(std::string& name, int maxLength = 31);
    // An amount in currency units, typed as an amount expression.
    TEditFloat* AddMoney(const QString& label, const char* objectName, float& units);
    // The names of an id list; shows id.
    TIdComboBox* AddIdCombo(const QString& label, const char* objectName, const TIdObjectList& list,
                            uint32_t flags, uint32_t id);
    // "&Description:", several lines, at most 1023 characters.
    QPlainTextEdit* AddDescription(std::string& text);
    QComboBox* AddCombo(const QString& label, const char* objectName,
                        const std::vector<std::string>& items, int current);
    QCheckBox* AddCheck(const QString& text, const char* objectName, bool& checked);
    void AddText(const QString& text);

    // Shows the dialog; true on OK, after the fields have written their values back.
    bool Run(const std::function<bool(const std::string&)>& check = {});

    std::string Name() const;

private:
    QFormLayout* form;
    QLineEdit* name = nullptr;
    std::function<bool(const std::string&)> check;
    std::vector<std::function<void()>> writeBack;
};

// The property form of a tree item: "&Name:", the fields addFields puts under it, and
// "&Description:" where the item has a description. True on OK, with the buffer updated.
template <class Buffer, class AddFields>
bool EditItemProperties(const QString& title, QWidget* parent, Buffer& buffer,
                        AddFields addFields) {
    TPropertyForm form(title, parent);
    form.AddName(buffer.name);
    addFields(form);
    if constexpr (requires { buffer.description; }) form.AddDescription(buffer.description);
    return form.Run(buffer.checkName);
}

template <class Buffer>
bool EditItemProperties(const QString& title, QWidget* parent, Buffer& buffer) {
    return EditItemProperties(title, parent, buffer, [](TPropertyForm&) {});
}
