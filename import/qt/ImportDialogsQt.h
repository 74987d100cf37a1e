// The statement import's dialogs on Qt: the file chooser, "Select Import Account" and "Import
// Transactions", and the busy signs of a long import (the wait cursor, and a progress dialog
// once it has taken more than a second).
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <memory>

#include "import/ImportDialogs.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QRadioButton;
class TQuilletData;

// "Import Transactions": edits a copy of the buffer; Buffer() is what "Import..." hands back.
class TImportXDialog : public QDialog {
    Q_OBJECT

public:
    // chooseAccount runs "Select Import Account" for the "..." button (false: cancelled).
    TImportXDialog(const TImportXBuffer& buffer, TQuilletData& document,
                   std::function<bool(TImportAccountBuffer&)> chooseAccount,
                   QWidget* parent = nullptr);
    TImportXBuffer Buffer() const { return buffer; }

    void accept() override;

private:
    TImportXBuffer buffer;
    TQuilletData& document;
    std::function<bool(TImportAccountBuffer&)> chooseAccount;
    QLabel* account;
    QRadioButton* automatic;
    QRadioButton* all;
    QCheckBox* onlyNewer;
    class TEditDate* newerDate;
    QCheckBox* ignoreCheckNo;
    class TIdComboBox* envelope;
    QLineEdit* codePos;
    QLineEdit* codeNeg;
    QCheckBox* copyPayableTo;

    void ShowBuffer();
    void ReadControls();
    void ChangeAccount();
};

class TImportDialogsQt : public TImportDialogPort {
public:
    explicit TImportDialogsQt(QWidget* parent);
    ~TImportDialogsQt() override;

    bool ChooseStatementFile(TStatementFileBuffer& buffer) override;
    bool ChooseImportAccount(TImportAccountBuffer& buffer) override;
    bool ImportTransactions(TImportXBuffer& buffer) override;
    void ImportStarted(size_t items) override;
    void ImportProgress(size_t done) override;
    void ImportFinished() override;

private:
    QWidget* parent;
    std::unique_ptr<QProgressDialog> progress;
    QElapsedTimer clock;
    size_t total = 0;
    bool busy = false;
};
