// The transaction dialogs on Qt: "Account Transfer", "Transaction Filter" and "Edit Memo". Each
// edits a copy of its buffer; the port copies it back only on OK.
#pragma once

#include <QDialog>
#include <array>

#include "transactions/FilterDialogs.h"
#include "transactions/MemoDialog.h"
#include "transactions/TransferDialogs.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class TEditDate;
class TEditFloat;
class TIdComboBox;

// "Account Transfer": the amount, and the account, date, code, payable to and memo of each side.
// OK is taken only when the buffer's check passes; otherwise the dialog stays open as it is.
class TActXferDialog : public QDialog {
    Q_OBJECT

public:
    explicit TActXferDialog(const TActXferBuffer& buffer, QWidget* parent = nullptr);
    TActXferBuffer Buffer() const;
    void accept() override;

private:
    struct TSide {
        TIdComboBox* account = nullptr;
        TEditDate* date = nullptr;
        QLineEdit* code = nullptr;
        QLineEdit* payableTo = nullptr;
        QLineEdit* memo = nullptr;
    };
    QGroupBox* SideGroup(const QString& title, const char* prefix, const TActXferSide& side,
                         TSide& controls, const std::array<const char*, 5>& labels);
    void Read(const TSide& controls, TActXferSide& side) const;

    TActXferBuffer buffer;
    TEditFloat* amount;
    TSide from;
    TSide to;
};

// "Transaction Filter": every criterion of the block, the node group relabelled by mode, the
// view settings hidden for reports. "Reset" puts back what the dialog was opened with.
class TFilterDialog : public QDialog {
    Q_OBJECT

public:
    explicit TFilterDialog(const TFilterDialogBuffer& buffer, QWidget* parent = nullptr);
    TFilterCriteria Criteria() const;
    // Shows a criteria block in the controls.
    void Show(const TFilterCriteria& criteria);

private:
    TFilterDialogBuffer buffer;
    QButtonGroup* date;
    TEditDate* from;
    TEditDate* to;
    QButtonGroup* amount;
    TEditFloat* minimum;
    TEditFloat* maximum;
    QButtonGroup* code;
    QLineEdit* codeText;
    QCheckBox* codeExact;
    QButtonGroup* cleared;
    QButtonGroup* payableTo;
    QLineEdit* payableToText;
    QCheckBox* payableToExact;
    QButtonGroup* memo;
    QLineEdit* memoText;
    QCheckBox* memoExact;
    QButtonGroup* node;
    TIdComboBox* nodeId;
    QButtonGroup* import;
    QButtonGroup* view;
};

// "Edit Memo": one edit under "&Memo:".
class TEditMemoDialog : public QDialog {
    Q_OBJECT

public:
    explicit TEditMemoDialog(const TMemoBuffer& buffer, QWidget* parent = nullptr);
    TMemoBuffer Buffer() const;

private:
    QLineEdit* memo;
};

class TTransactionDialogsQt : public TTransferDialogPort,
                              public TFilterDialogPort,
                              public TMemoDialogPort {
public:
    explicit TTransactionDialogsQt(QWidget* parent) : parent(parent) {}

    bool AccountTransfer(TActXferBuffer& buffer) override;
    bool EditFilter(TFilterDialogBuffer& buffer) override;
    bool EditMemo(TMemoBuffer& buffer) override;

private:
    QWidget* parent;
};
