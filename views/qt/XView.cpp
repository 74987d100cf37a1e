#include "views/qt/XView.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/qt/QtText.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "transactions/EditableFilter.h"
#include "transactions/XItem.h"
#include "transactions/XList.h"
#include "views/XViewList.h"
#include "views/qt/Ledger.h"

namespace {

// The frame's control bar commands a view carries out, by their command ids.
constexpr struct {
    int id;
    TXViewCommand command;
} FrameCommands[] = {
    {136, TXViewCommand::ApplyTemplate},
    {129, TXViewCommand::Transfer},
    {128, TXViewCommand::Multiple},
    {131, TXViewCommand::SelectEnvelope},
    {24507, TXViewCommand::EditFilter},
    {24508, TXViewCommand::ClearFilter},
    {24509, TXViewCommand::ViewAllUnreconciled},
    {24512, TXViewCommand::ViewUnreconciledDeposits},
    {24511, TXViewCommand::ViewUnreconciledChecks},
    {24510, TXViewCommand::ViewUnreconciledNonChecks},
    {24518, TXViewCommand::ViewNewlyImported},
};

const char* ObjectName(TXViewKind kind) {
    switch (kind) {
        case TXViewKind::Account:
            return "accountView";
        case TXViewKind::Envelope:
            return "envelopeView";
        case TXViewKind::Multiple:
            break;
    }
    return "multipleView";
}

QIcon TreeIcon(const char* name) {
    const QString path = QString(":/icons/%1.svg").arg(QLatin1String(name ? name : ""));
    if (name && QFile::exists(path)) return QIcon(path);
    return QIcon(":/icons/quillet.svg");
}

}  // namespace

// The strip under the grid: the memo area on the left, the total's label and its box on the
// right.
class TXViewFooter : public QWidget {
public:
    explicit TXViewFooter(TXView& view) : QWidget(&view), view(view) {
        setObjectName("footer");
        setFixedHeight(fontMetrics().height() * 5 / 2);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPalette& colours = palette();
        painter.fillRect(rect(), colours.button());
        const QFontMetrics metrics = fontMetrics();
        const int margin = metrics.horizontalAdvance('0');
        const int boxWidth = 15 * metrics.horizontalAdvance('0');
        const int boxHeight = metrics.height() + 4;
        const QRect box(width() - margin - boxWidth, (height() - boxHeight) / 2, boxWidth,
                        boxHeight);
        painter.setPen(colours.color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        const TXViewTotalText total = view.TotalText();
        painter.setPen(total.negative ? QColor(Qt::red) : colours.color(QPalette::ButtonText));
        painter.drawText(box.adjusted(2, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                         FromWindows1252(total.text));
        painter.setPen(colours.color(QPalette::ButtonText));
        const QString label = view.TotalLabel();
        const int labelWidth = metrics.horizontalAdvance(label);
        const QRect labelRect(box.left() - labelWidth - margin / 2, box.top(), labelWidth,
                              boxHeight);
        painter.drawText(labelRect, Qt::AlignRight | Qt::AlignVCenter, label);
        const QRect memo(margin, 0, std::max(0, labelRect.left() - 2 * margin), height());
        painter.drawText(memo, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(view.MemoText(), Qt::ElideRight, memo.width()));
    }

private:
    TXView& view;
};

// Hears every change of the store after the view's rows have: the total and the memo under the
// grid follow, and a multiple's view goes when its multiple does.
class TXViewWatch : public TXList {
public:
    TXViewWatch(TXManager& store, TXView& view) : TXList(store), view(view) {}
    void ItemChanged(TXItem*) override { view.StoreChanged(); }
    void ItemAdded(TXItem*) override { view.StoreChanged(); }
    void ItemDeleted(TXItem* item) override {
        if (view.subject.Kind() == TXViewKind::Multiple && item->GetId() == view.subject.Id()) {
            // Not now: the store is in the middle of deleting, and the rows it is deleting are
            // this view's.
            view.closing = true;
            QTimer::singleShot(0, &view, [v = &view] { v->CloseView(true); });
            return;
        }
        view.StoreChanged();
    }

private:
    TXView& view;
};

TXView::TXView(TQuilletData& doc, TXViewKind kind, uint32_t id, QWidget* parent)
    : QWidget(parent), subject(doc, kind, id) {
    std::unique_ptr<TXFilter> madeFilter = subject.MakeFilter();
    filter = dynamic_cast<TEditableFilter*>(madeFilter.get());
    list = std::make_unique<TXViewList>(doc.GetXManager(), std::move(madeFilter),
                                        subject.BlankTemplate());
    commands = std::make_unique<TXViewCommands>(kind, *list, filter);
    watch = std::make_unique<TXViewWatch>(doc.GetXManager(), *this);

    setObjectName(ObjectName(kind));
    setWindowTitle(FromWindows1252(subject.Title()));
    setAccessibleName(windowTitle());
    setWindowIcon(TreeIcon(subject.IconName()));

    ledger = new TLedger(this, *list, false);
    ledger->setAccessibleName(windowTitle());
    // Displays of 256 colours or fewer have no pale yellow; they get plain yellow.
    const QScreen* screen = this->screen();
    ledger->SetStripe(screen && screen->depth() <= 8 ? QColor(255, 255, 0)
                                                     : TLedger::TransactionStripe());
    footer = new TXViewFooter(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ledger, 1);
    layout->addWidget(footer);
    setFocusProxy(ledger);

    BuildActions();
    BuildMenus();
    connect(ledger, &TLedger::ContextMenuRequested, this, &TXView::ShowContextMenu);
    connect(ledger, &TLedger::CurrentRowChanged, this, [this] {
        MemoMayHaveChanged();
        UpdateActions();
    });
    connect(ledger, &TLedger::HoveredItemChanged, this, &TXView::SetHovered);
    connect(ledger, &TLedger::ModelChanged, this, [this] { StoreChanged(); });
    connect(ledger, &TLedger::EscapePressed, this, [this] { CloseView(); });

    Relayout();
    LoadInMode();
}

TXView::~TXView() {
    // The grid goes first, storing what its editor holds while the rows are still here; then the
    // rows are given back, so blank rows nobody typed into leave no record.
    closing = true;
    ledger->CloseEditor();
    delete ledger;
    ledger = nullptr;
    watch.reset();
    commands.reset();
    list.reset();
}

bool TXView::IsReconcile() const {
    return filter && filter->IsReconcileView();
}

QAction* TXView::AddAction(TXViewCommand command, const QString& text, const QString& key) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString("view%1").arg(static_cast<int>(command)));
    if (!key.isEmpty()) {
        action->setShortcut(QKeySequence(key));
        // Two open views must not claim the same key: it belongs to the one with the focus.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    addAction(action);
    actions[command] = action;
    return action;
}

void TXView::BuildActions() {
    AddAction(TXViewCommand::Delete, "&Delete", "Ctrl+Del");
    AddAction(TXViewCommand::Erase, "E&rase", "Ctrl+Shift+Del");
    AddAction(TXViewCommand::EditMemo, "Edit Mem&o", "Ctrl+O");
    AddAction(TXViewCommand::NextNumber, "&Next Check No", "Ctrl+N");
    AddAction(TXViewCommand::ClearToggle, "&Clear/Unclear", "Ctrl+X");
    AddAction(TXViewCommand::Today, "Toda&y", "Ctrl+D");
    AddAction(TXViewCommand::Multiple, "Create/View &Multiple", "Ctrl+Shift+M");
    AddAction(TXViewCommand::ApplyTemplate, "A&pply Template", "Ctrl+Shift+P");
    AddAction(TXViewCommand::Transfer, "Create &Transfer", "Ctrl+Shift+T");
    AddAction(TXViewCommand::SelectEnvelope, "Select &Envelope", "Ctrl+E");
    AddAction(TXViewCommand::EditFilter, "Edit Filter...", {});
    AddAction(TXViewCommand::ClearFilter, "Clear Filter", {});
    AddAction(TXViewCommand::ViewAllUnreconciled, "View All Unreconciled", {});
    AddAction(TXViewCommand::ViewUnreconciledDeposits, "View Unreconciled Deposits", {});
    AddAction(TXViewCommand::ViewUnreconciledChecks, "View Unreconciled Checks", {});
    AddAction(TXViewCommand::ViewUnreconciledNonChecks, "View Unreconciled Non-Checks", {});
    AddAction(TXViewCommand::ViewNewlyImported, "View Newly Imported Transactions", {});
    for (TXViewCommand preset :
         {TXViewCommand::ViewAllUnreconciled, TXViewCommand::ViewUnreconciledDeposits,
          TXViewCommand::ViewUnreconciledChecks, TXViewCommand::ViewUnreconciledNonChecks,
          TXViewCommand::ViewNewlyImported})
        actions[preset]->setCheckable(true);
    UpdateActions();
}

void TXView::BuildMenus() {
    auto fillFilterMenu = [this](QMenu* menu) {
        menu->setObjectName("menuTransactionFilter");
        menu->addAction(actions[TXViewCommand::EditFilter]);
        menu->addAction(actions[TXViewCommand::ClearFilter]);
        menu->addSeparator();
        for (TXViewCommand preset :
             {TXViewCommand::ViewAllUnreconciled, TXViewCommand::ViewUnreconciledDeposits,
              TXViewCommand::ViewUnreconciledChecks, TXViewCommand::ViewUnreconciledNonChecks,
              TXViewCommand::ViewNewlyImported})
            menu->addAction(actions[preset]);
    };
    const TXViewCommand rowCommands[] = {TXViewCommand::EditMemo,    TXViewCommand::NextNumber,
                                         TXViewCommand::ClearToggle, TXViewCommand::Today,
                                         TXViewCommand::Multiple,    TXViewCommand::ApplyTemplate,
                                         TXViewCommand::Transfer,    TXViewCommand::SelectEnvelope};

    editMenu = new QMenu("&Edit", this);
    editMenu->setObjectName("menuViewEdit");
    editMenu->addAction(actions[TXViewCommand::Delete]);
    editMenu->addAction(actions[TXViewCommand::Erase]);

    transactionsMenu = new QMenu("&Transactions", this);
    transactionsMenu->setObjectName("menuTransactions");
    for (TXViewCommand command : rowCommands)
        transactionsMenu->addAction(actions[command]);
    transactionsMenu->addSeparator();
    fillFilterMenu(transactionsMenu->addMenu("Transaction Filter"));

    contextMenu = new QMenu(this);
    contextMenu->setObjectName("contextMenu");
    contextMenu->addAction(actions[TXViewCommand::Delete]);
    contextMenu->addAction(actions[TXViewCommand::Erase]);
    contextMenu->addSeparator();
    for (TXViewCommand command : rowCommands)
        contextMenu->addAction(actions[command]);
    contextMenu->addSeparator();
    fillFilterMenu(contextMenu->addMenu("Transaction Filter"));
    contextMenu->addSeparator();
    QAction* setup = contextMenu->addAction("Modify Transaction &View Configuration");
    setup->setObjectName("viewConfiguration");
    connect(setup, &QAction::triggered, this, &TXView::ConfigurationRequested);

    for (QMenu* menu : findChildren<QMenu*>())
        menu->setAccessibleName(menu->title().remove('&'));
    contextMenu->setAccessibleName(windowTitle());
    for (QMenu* menu : {editMenu, transactionsMenu, contextMenu})
        connect(menu, &QMenu::aboutToShow, this, &TXView::UpdateActions);
}

void TXView::UpdateActions() {
    if (!ledger) return;
    const uint32_t row = ledger->GetCurrentRow();
    for (auto& [command, action] : actions) {
        const TXCommandState state = commands->State(command, row);
        action->setEnabled(state.enabled);
        if (action->isCheckable()) action->setChecked(state.checked);
    }
    emit CommandsChanged();
}

void TXView::Run(TXViewCommand command) {
    if (!ledger) return;
    // What is being typed counts before the command acts on the row.
    ledger->CloseEditor();
    const TXCommandOutcome outcome = commands->Run(command, ledger->GetCurrentRow());
    if (!ledger) return;
    if (outcome == TXCommandOutcome::FilterChanged) {
        Relayout();
        LoadInMode();
    } else if (outcome == TXCommandOutcome::RowsChanged) {
        ledger->viewport()->update();
    }
    StoreChanged();
    UpdateActions();
}

void TXView::LoadInMode() {
    const bool reconcile = IsReconcile();
    ledger->SetPreferredColumn(reconcile ? subject.ClearedColumn() : 0);
    // A reconcile layout starts at the oldest match ready for marking, a multiple at its first
    // part; an ordinary ledger at its latest transactions.
    if (reconcile || subject.Kind() == TXViewKind::Multiple)
        ledger->LoadAtTop(true);
    else
        ledger->LoadAtEnd(true);
    StoreChanged();
    UpdateActions();
}

void TXView::ShowReconcile() {
    if (!filter || IsReconcile()) return;
    filter->ViewAllUnreconciled(true);
    Relayout();
    LoadInMode();
}

void TXView::Relayout() {
    ledger->ClearColumns();
    for (const TXViewColumn& column : subject.Columns(CurrentOptions()))
        ledger->AddColumn(column.id, column.chars);
    ledger->Relayout(true);
    footer->update();
}

void TXView::Refresh() {
    setWindowTitle(FromWindows1252(subject.Title()));
    setAccessibleName(windowTitle());
    ledger->viewport()->update();
    StoreChanged();
}

void TXView::CloseView(bool force) {
    closing = force;
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    const bool closed = frame ? frame->close() : close();
    if (!closed) closing = false;
}

void TXView::closeEvent(QCloseEvent* event) {
    if (ledger) ledger->CloseEditor();
    if (!closing && !commands->MayClose()) {
        event->ignore();
        return;
    }
    closing = true;
    event->accept();
}

QString TXView::TotalLabel() const {
    return FromWindows1252(subject.TotalLabel(IsReconcile()));
}

TXViewTotalText TXView::TotalText() const {
    return FormatViewTotal(subject.Total(IsReconcile()));
}

QString TXView::MemoText() const {
    if (!ledger) return {};
    const TLedgerItem* item = CurrentOptions().flyByMemo != 0 ? hovered : ledger->GetCurrentItem();
    // The row under the pointer may have left the window since it was seen; only rows the window
    // holds are read.
    const auto* row = static_cast<const TXItem*>(item);
    if (!row || !list->Contains(row)) return {};
    return FromWindows1252(row->GetCellText(XColMemoExpanded));
}

void TXView::SetHovered(TLedgerItem* item) {
    hovered = item;
    MemoMayHaveChanged();
}

void TXView::MemoMayHaveChanged() {
    const QString memo = MemoText();
    if (memo == memoShown) return;
    memoShown = memo;
    footer->update();
}

void TXView::StoreChanged() {
    if (!ledger || closing) return;
    if (subject.Kind() == TXViewKind::Multiple) setWindowTitle(FromWindows1252(subject.Title()));
    const TXViewTotalText total = TotalText();
    footer->setAccessibleName(TotalLabel() + FromWindows1252(total.text));
    memoShown = MemoText();
    footer->update();
}

void TXView::ShowContextMenu(const QPoint& globalPos) {
    UpdateActions();
    contextMenu->popup(globalPos);
}

QList<QMenu*> TXView::ActiveMenus() {
    return {editMenu, transactionsMenu};
}

bool TXView::CommandState(int id, bool& enabled, bool& checked) {
    if (!ledger) return false;
    for (const auto& frame : FrameCommands) {
        if (frame.id != id) continue;
        const TXCommandState state = commands->State(frame.command, ledger->GetCurrentRow());
        enabled = state.enabled;
        checked = state.checked;
        return true;
    }
    return false;
}

bool TXView::RunCommand(int id) {
    for (const auto& frame : FrameCommands) {
        if (frame.id != id) continue;
        Run(frame.command);
        return true;
    }
    return false;
}
