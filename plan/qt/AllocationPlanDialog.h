// "Edit Allocation Plan": the plan's grid, its view period and its template commands. The dialog
// works on the plan itself; the plan keeps or drops the edits when the dialog ends.
#pragma once

#include <QDialog>
#include <memory>

#include "plan/PlanDialogs.h"

class QComboBox;
class TLedgerFooter;
class TLedgerList;
class TLedgerTableModel;
class TLedgerTableView;

class TAllocationPlanDialog : public QDialog, public TPlanView {
    Q_OBJECT

public:
    // Opens at the buffer's size, centred on the screen, with the configured column widths.
    explicit TAllocationPlanDialog(TPlanDialogBuffer& buffer, QWidget* parent = nullptr);
    ~TAllocationPlanDialog() override;

    void PlanChanged() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Widens an amount column whose total would not fit (totals outgrow the cells).
    void FitTotals();
    TPlanDialogBuffer& buffer;
    std::unique_ptr<TLedgerList> rows;
    TLedgerTableModel* model;
    TLedgerTableView* grid;
    TLedgerFooter* footer;
    QComboBox* viewPeriod;
};
