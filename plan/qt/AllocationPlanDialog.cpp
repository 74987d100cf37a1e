#include "plan/qt/AllocationPlanDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"
#include "core/LedgerList.h"
#include "core/QuilletOptions.h"
#include "plan/AllocationPlan.h"
#include "plan/Period.h"
#include "views/qt/LedgerTableModel.h"

namespace {

// The plan's rows as the grid's list: all of them at once, so the window never moves.
class TPlanRows : public TLedgerList {
public:
    explicit TPlanRows(TAllocationPlan& plan) : plan(plan) {}
    TLedgerItem* GetItem(uint32_t row) override { return plan.GetRow(row); }
    uint32_t GetUsedCount() const override { return plan.GetUsedRowCount(); }
    uint32_t GetRowCount() const override { return plan.GetRowCount(); }
    uint32_t GetPosition(uint32_t row) const override { return row; }
    uint32_t GetLastPosition() const override { return plan.GetRowCount(); }
    TCellPaint PaintHeader(uint32_t column) const override { return plan.PaintHeader(column); }
    TCellPaint PaintFooter(uint32_t column) const override { return plan.PaintFooter(column); }

private:
    TAllocationPlan& plan;
};

QPushButton* Button(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = NameControl(new QPushButton(caption, parent), objectName, caption);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TAllocationPlanDialog::TAllocationPlanDialog(TPlanDialogBuffer& buffer, QWidget* parent)
    : QDialog(parent), buffer(buffer), rows(std::make_unique<TPlanRows>(*buffer.plan)) {
    TAllocationPlan* plan = buffer.plan;
    setObjectName("allocationPlan");
    setWindowTitle("Edit Allocation Plan");
    setAccessibleName("Edit Allocation Plan");

    auto* templates = NameControl(new QGroupBox(" Templates ", this), "templates", "Templates");
    auto* templateRow = new QHBoxLayout(templates);
    QPushButton* create = Button(templates, "createTemplate", "Create Template");
    QPushButton* remove = Button(templates, "removeTemplate", "Remove Template");
    templateRow->addWidget(create);
    templateRow->addWidget(remove);
    connect(create, &QPushButton::clicked, this, [plan] { plan->CreateTemplate(); });
    connect(remove, &QPushButton::clicked, this, [plan] { plan->RemoveTemplate(); });

    viewPeriod = NameControl(new QComboBox(this), "viewPeriod", "View Period:");
    for (uint32_t id = Period::Weekly; id < Period::Count; ++id)
        viewPeriod->addItem(FromWindows1252(PeriodNames[id]), id);
    viewPeriod->setCurrentIndex(viewPeriod->findData(plan->GetViewPeriod()));
    auto* periodLabel = new QLabel("View Period:", this);
    periodLabel->setBuddy(viewPeriod);
    connect(viewPeriod, &QComboBox::currentIndexChanged, this, [this, plan](int index) {
        if (index >= 0) plan->SetViewPeriod(viewPeriod->itemData(index).toUInt());
    });

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName("buttons");
    QPushButton* save = Button(this, "saveAndClose", "Save and Close");
    QPushButton* cancel = Button(this, "cancel", "Cancel");
    buttons->addButton(save, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    model = new TLedgerTableModel(*rows, static_cast<int>(TAllocationPlan::GridColumns), this);
    model->SetStripe(QColor(255, 255, 164));
    grid = NameControl(new TLedgerTableView(this), "planGrid", "Allocation Plan");
    grid->setModel(model);
    const TQuilletOptions& o = CurrentOptions();
    const int charWidth = grid->fontMetrics().averageCharWidth();
    grid->setColumnWidth(0, static_cast<int>(o.envelopeLabelWidth) * charWidth);
    for (int c = 1; c < model->columnCount(); ++c)
        grid->setColumnWidth(c, static_cast<int>(o.amountWidth) * charWidth);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    footer = NameControl(new TLedgerFooter(*model, *grid, this), "planFooter", "Total");
    FitTotals();

    auto* top = new QHBoxLayout;
    top->addWidget(templates);
    top->addStretch();
    top->addWidget(periodLabel);
    top->addWidget(viewPeriod);
    top->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid, 1);
    layout->addWidget(footer);
    layout->setSpacing(0);
    layout->setContentsMargins(layout->contentsMargins().left(), layout->contentsMargins().top(),
                               layout->contentsMargins().left(), layout->contentsMargins().left());
    top->setContentsMargins(0, 0, 0, layout->contentsMargins().left());

    setTabOrder(grid, viewPeriod);
    grid->setCurrentIndex(model->index(0, 0));
    grid->setFocus();

    resize(buffer.width, buffer.height);
    if (const QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(buffer.width / 2, buffer.height / 2));
    }
    plan->SetOpenDialog(this);
}

TAllocationPlanDialog::~TAllocationPlanDialog() {
    buffer.plan->SetOpenDialog(nullptr);
}

void TAllocationPlanDialog::PlanChanged() {
    const int index = viewPeriod->findData(buffer.plan->GetViewPeriod());
    if (index >= 0 && index != viewPeriod->currentIndex()) {
        const QSignalBlocker quiet(viewPeriod);
        viewPeriod->setCurrentIndex(index);
    }
    model->Refresh();
    FitTotals();
}

void TAllocationPlanDialog::FitTotals() {
    QFont bold = footer->font();
    bold.setBold(true);  // the total row may be drawn bold
    const QFontMetrics metrics(bold);
    const int margin = 2 * metrics.averageCharWidth();
    for (int c = 1; c < model->columnCount(); ++c) {
        const int needed = metrics.horizontalAdvance(model->FooterText(c)) + margin;
        if (grid->columnWidth(c) < needed) grid->setColumnWidth(c, needed);
    }
}

void TAllocationPlanDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const QSize outer = frameGeometry().size();
    buffer.width = outer.width();
    buffer.height = outer.height();
}
