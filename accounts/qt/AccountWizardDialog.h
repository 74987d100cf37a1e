// "Add New Account": the page the new-account wizard shows once per account. One dialog serves
// every page of a run; each page is a modal run over the wizard's form.
#pragma once

#include <QDialog>

#include "accounts/NewAccountWizard.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TAccountWizardDialog : public QDialog, public TAccountWizardPort {
    Q_OBJECT

public:
    explicit TAccountWizardDialog(QWidget* parent = nullptr);

    // Shows the form, focus in the name, and waits for a button. The form comes back as it
    // stands on the screen, whatever the button (closing the window counts as Cancel).
    TAccountWizardButton RunPage(TAccountWizardBuffer& buffer) override;

private:
    void Show(const TAccountWizardBuffer& buffer);
    void Read(TAccountWizardBuffer& buffer) const;
    void Press(TAccountWizardButton button);

    QLineEdit* name;
    QPlainTextEdit* description;
    QLineEdit* balance;
    QLineEdit* date;
    QComboBox* kind;
    TAccountWizardButton pressed = TAccountWizardButton::Cancel;
};
