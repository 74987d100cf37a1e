// The four configuration dialogs. Each edits a copy of its transfer buffer; Buffer() hands the
// edited copy back, which the caller applies only when the dialog was accepted.
#pragma once

#include <QDialog>
#include <vector>

#include "app/ConfigDialogs.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;

// The frame the four dialogs share: a form of fields above OK and Cancel.
class TConfigDialogBase : public QDialog {
    Q_OBJECT

protected:
    TConfigDialogBase(const QString& title, QWidget* parent);
    QCheckBox* AddCheck(int id, const QString& text, bool checked);
    QLineEdit* AddEdit(int id, const QString& label, const std::string& text, int maxLength);
    void Finish();

private:
    QFormLayout* form = nullptr;  // fields in transfer order, which is also the tab order
};

// "Main Configuration".
class TMainConfigDialog : public TConfigDialogBase {
    Q_OBJECT

public:
    TMainConfigDialog(const TMainConfigBuffer& buffer, QWidget* parent = nullptr);
    TMainConfigBuffer Buffer() const;

private:
    QCheckBox *statusBar, *controlBar, *reopenLastFile, *confirmCleared, *confirmImport;
    QLineEdit *autoSave, *backups, *updateDays;
};

// "Envelope List Configuration".
class TEnvelopeListConfigDialog : public TConfigDialogBase {
    Q_OBJECT

public:
    TEnvelopeListConfigDialog(const TEnvelopeListConfigBuffer& buffer, QWidget* parent = nullptr);
    TEnvelopeListConfigBuffer Buffer() const;

private:
    QCheckBox *root, *bundles, *associations, *envelopes;
};

// "Account List Configuration".
class TAccountListConfigDialog : public TConfigDialogBase {
    Q_OBJECT

public:
    TAccountListConfigDialog(const TAccountListConfigBuffer& buffer, QWidget* parent = nullptr);
    TAccountListConfigBuffer Buffer() const;

private:
    QCheckBox *root, *groups, *accounts, *reconcile;
};

// "Transaction View Setup". A width field brought into range when it loses focus beeps.
class TTransactionViewSetupDialog : public TConfigDialogBase {
    Q_OBJECT

public:
    TTransactionViewSetupDialog(const TTransactionViewSetupBuffer& buffer,
                                QWidget* parent = nullptr);
    TTransactionViewSetupBuffer Buffer() const;

private:
    QLineEdit* AddWidth(int id, const QString& label, const std::string& text, TLedgerWidth field);

    QLineEdit *code, *payableTo, *memo, *amount, *envelopeLabel, *accountLabel;
    QCheckBox *includeYear, *flyBy, *autoCorrectYear;
};
