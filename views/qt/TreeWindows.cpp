#include "views/qt/TreeWindows.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "accounts/AccountList.h"
#include "accounts/AccountNode.h"
#include "controls/qt/QtText.h"
#include "core/QuilletOptions.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeNode.h"

namespace {

// Row flags of the painter.
constexpr int RowSelected = 1, RowDropTarget = 2, RowFocus = 4;
// How often a held button outside the window scrolls it one step.
constexpr int AutoScrollMs = 60;

// The artwork is drawn once per size and screen density and shared by every window.
const QPixmap& CachedArt(const QString& name, QSize size, qreal ratio) {
    static QHash<QString, QPixmap> cache;
    const QString key =
        QString("%1@%2x%3x%4").arg(name).arg(size.width()).arg(size.height()).arg(ratio);
    auto found = cache.constFind(key);
    if (found != cache.constEnd()) return *found;
    return *cache.insert(key, QIcon(QString(":/icons/%1.svg").arg(name)).pixmap(size, ratio));
}

QCursor DragCursor(const char* icon) {
    const int size = 32;
    const QPixmap image = QIcon(QString(":/icons/%1.svg").arg(icon)).pixmap(QSize(size, size));
    // The arrow's tip sits at (2, 2) of the 24-unit artwork.
    return QCursor(image, size * 2 / 24, size * 2 / 24);
}

// The cell size of the trees: the artwork's square, never smaller than a line of the font.
int TreeCellSize() {
    return std::max(20, QFontMetrics(QApplication::font()).height() + 4);
}

}  // namespace

// --- The list window -----------------------------------------------------------------------

TEnhancedListWindow::TEnhancedListWindow(TTreeList& list, int rowHeight, int cellWidth,
                                         const char* dragOneIcon, const char* dragSeveralIcon,
                                         QWidget* parent)
    : QAbstractScrollArea(parent),
      list(list),
      rowHeight(std::max(1, rowHeight)),
      cellWidth(std::max(1, cellWidth)),
      selection(list),
      dragOneIcon(dragOneIcon),
      dragSeveralIcon(dragSeveralIcon) {
    InstallTreeWindowAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    idleTimer = new QTimer(this);
    idleTimer->setSingleShot(true);
    idleTimer->setInterval(0);
    connect(idleTimer, &QTimer::timeout, this, &TEnhancedListWindow::IdlePass);
    scrollTimer = new QTimer(this);
    scrollTimer->setInterval(AutoScrollMs);
    connect(scrollTimer, &QTimer::timeout, this, [this] {
        if (!buttonDown) {
            scrollTimer->stop();
            return;
        }
        const TScrollStep step =
            AutoScrollStep(lastMouse.x(), lastMouse.y(), viewport()->width(), viewport()->height());
        if (step.dx == 0 && step.dy == 0) return;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + step.dy);
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + step.dx * this->cellWidth);
    });
    list.AttachWindow(this);
    // Measured at the first idle pass, or at once when the labels are set up.
    widthDirty = true;
    QueueIdlePass();
    UpdateScrollRange();
}

TEnhancedListWindow::~TEnhancedListWindow() {
    list.DetachWindow(this);
}

TTreeItem* TEnhancedListWindow::ItemAt(QPoint point, int* column) const {
    if (point.x() < 0 || point.y() < 0 || point.y() >= viewport()->height()) return nullptr;
    const TListHit hit = HitTest(point.x(), point.y(), horizontalScrollBar()->value(),
                                 verticalScrollBar()->value() * rowHeight, rowHeight, cellWidth);
    if (column) *column = hit.column;
    return list.GetItem(hit.row);
}

QRect TEnhancedListWindow::RowRect(uint32_t row) const {
    const int top = (static_cast<int>(row) - 1 - verticalScrollBar()->value()) * rowHeight;
    return QRect(0, top, viewport()->width(), rowHeight);
}

QString TEnhancedListWindow::RowText(uint32_t row) const {
    const TTreeItem* item = list.GetItem(row);
    return item ? FromWindows1252(item->LabelText()) : QString();
}

void TEnhancedListWindow::ItemChanged(TEnhancedListItem* item) {
    if (std::find(pending.begin(), pending.end(), item) == pending.end()) pending.push_back(item);
    QueueIdlePass();
}

void TEnhancedListWindow::ItemsChanged(TEnhancedListItem* item) {
    const uint32_t row = item ? list.IndexOf(static_cast<TTreeItem*>(item)) : 0;
    if (row == 0) {
        viewport()->update();
    } else {
        const QRect from = RowRect(row);
        viewport()->update(QRect(0, from.top(), viewport()->width(), viewport()->height()));
    }
    // The rows below may have come or gone; the extents follow at the idle pass.
    widthDirty = true;
    QueueIdlePass();
}

void TEnhancedListWindow::ItemRemoved(TEnhancedListItem* item) {
    pending.erase(std::remove(pending.begin(), pending.end(), item), pending.end());
    if (dropTarget == item) dropTarget = nullptr;
    if (selection.Forget(item)) {
        viewport()->update();
        emit SelectionChanged();
    }
    widthDirty = true;
    QueueIdlePass();
}

void TEnhancedListWindow::QueueIdlePass() {
    if (!idleTimer->isActive()) idleTimer->start();
}

void TEnhancedListWindow::IdlePass() {
    for (const TEnhancedListItem* item : pending)
        RepaintItem(item);
    pending.clear();
    if (widthDirty) MeasureWidth();
}

void TEnhancedListWindow::MeasureWidth() {
    widthDirty = false;
    // Labels are measured a character at a time from a table of the font's advances: shaping
    // thousands of labels would cost more than a repaint, and the extent needs no kerning.
    if (advances.empty()) advances.assign(256, -1);
    const QFontMetrics metrics = fontMetrics();
    maxWidth = list.GetMaxWidth(cellWidth, [this, &metrics](const std::string& text) {
        int width = 0;
        for (unsigned char byte : text) {
            int& advance = advances[byte];
            if (advance < 0)
                advance = metrics.horizontalAdvance(FromWindows1252(std::string(1, char(byte))));
            width += advance;
        }
        return width;
    });
    UpdateScrollRange();
}

void TEnhancedListWindow::RefreshAll() {
    widthDirty = true;
    IdlePass();
    viewport()->update();
}

void TEnhancedListWindow::RepaintItem(const TEnhancedListItem* item) {
    const uint32_t row = list.IndexOf(static_cast<const TTreeItem*>(item));
    if (row == 0) return;
    const QRect rect = RowRect(row);
    if (rect.bottom() >= 0 && rect.top() < viewport()->height()) viewport()->update(rect);
}

void TEnhancedListWindow::RepaintSelection() {
    for (const TTreeItem* item : selection.Items())
        RepaintItem(item);
}

void TEnhancedListWindow::SelectionMoved(const std::vector<TTreeItem*>& before) {
    const std::vector<TTreeItem*>& now = selection.Items();
    bool changed = before.size() != now.size();
    for (TTreeItem* item : before)
        if (!selection.IsSelected(item)) RepaintItem(item), changed = true;
    for (TTreeItem* item : now)
        if (std::find(before.begin(), before.end(), item) == before.end())
            RepaintItem(item), changed = true;
    if (!changed) changed = before != now;
    if (!changed) return;
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&event);
    }
    emit SelectionChanged();
}

void TEnhancedListWindow::UpdateScrollRange() {
    const int count = static_cast<int>(std::min<uint32_t>(list.GetCount(), 1u << 24));
    const int page = std::max(1, viewport()->height() / rowHeight);
    verticalScrollBar()->setRange(0, std::max(0, count - page));
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, maxWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
    horizontalScrollBar()->setSingleStep(cellWidth);
}

void TEnhancedListWindow::ScrollIntoView(uint32_t row) {
    if (row == 0) return;
    const int index = static_cast<int>(row) - 1;
    const int page = std::max(1, viewport()->height() / rowHeight);
    QScrollBar* bar = verticalScrollBar();
    if (index < bar->value()) {
        bar->setValue(index);
    } else if (index >= bar->value() + page) {
        bar->setValue(index - page + 1);
    }
}

void TEnhancedListWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void TEnhancedListWindow::scrollContentsBy(int, int) {
    viewport()->update();
}

const QPixmap& TEnhancedListWindow::Art(const char* name) const {
    static const QPixmap none;
    // Masks belong to bitmaps; the SVG artwork carries its own transparency.
    if (!name || QByteArray(name).endsWith("-mask")) return none;
    return CachedArt(QString::fromLatin1(name), QSize(cellWidth, rowHeight), devicePixelRatioF());
}

void TEnhancedListWindow::PaintRow(QPainter& painter, const TTreeItem* item, int y,
                                   int flags) const {
    const TTreeRowPaint row = item->GetRowPaint();
    const int x0 = -horizontalScrollBar()->value();
    auto cell = [&](int k) { return QRect(x0 + (k - 1) * cellWidth, y, cellWidth, rowHeight); };
    auto draw = [&](int k, const char* name) {
        const QPixmap& image = Art(name);
        if (!image.isNull()) painter.drawPixmap(cell(k), image);
    };
    for (int k = 1; k < row.depth; ++k)
        if (row.guideLine[static_cast<size_t>(k - 1)]) draw(k, item->GetBitmap(1));
    if (row.branch != 0) draw(row.depth, item->GetBitmap(row.branch));
    const char* icon = IconOverride(item);
    draw(row.depth + 1, icon ? icon : item->GetBitmap(row.icon));
    if (row.icon == 6 || row.icon == 7) {
        // The expand mark: a small box in the icon's corner, plus while collapsed.
        const QRect box = cell(row.depth + 1);
        const int side = std::max(7, cellWidth / 2 - 1) | 1;
        const QRect mark(box.left(), box.bottom() - side + 1, side, side);
        painter.fillRect(mark, palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawRect(mark.adjusted(0, 0, -1, -1));
        const int mid = side / 2;
        painter.drawLine(mark.left() + 2, mark.top() + mid, mark.right() - 2, mark.top() + mid);
        if (row.icon == 6)
            painter.drawLine(mark.left() + mid, mark.top() + 2, mark.left() + mid,
                             mark.bottom() - 2);
    }
    if (row.mark) draw(1, item->GetBitmap(9));

    const QString label = FromWindows1252(row.label);
    const QRect text(cell(row.depth + 2).left() + 2, y, fontMetrics().horizontalAdvance(label) + 4,
                     rowHeight);
    const QPalette::ColorGroup group = (flags & RowFocus) ? QPalette::Active : QPalette::Inactive;
    QColor ink = palette().color(group, QPalette::Text);
    if (flags & RowSelected) {
        painter.fillRect(text, palette().color(group, QPalette::Highlight));
        ink = palette().color(group, QPalette::HighlightedText);
    }
    if (flags & RowDropTarget) {
        QPen pen(palette().color(QPalette::Active, QPalette::Highlight), 2);
        painter.setPen(pen);
        painter.drawRect(text.adjusted(1, 1, -1, -1));
    }
    painter.setPen(ink);
    painter.drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, label);
}

void TEnhancedListWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(font());
    const int top = verticalScrollBar()->value();
    const bool focused = hasFocus();
    // Only the rows the region asks for: a drag repaints the two rows whose mark moved.
    for (const QRect& area : event->region()) {
        const uint32_t first = static_cast<uint32_t>(top + 1 + std::max(0, area.top()) / rowHeight);
        const uint32_t last =
            static_cast<uint32_t>(top + 1 + std::max(0, area.bottom()) / rowHeight);
        uint32_t row = first;
        for (TTreeItem* item = list.GetItem(first); item && row <= last;
             item = item->Next(false), ++row) {
            int flags = focused ? RowFocus : 0;
            if (selection.IsSelected(item)) flags |= RowSelected;
            if (item == dropTarget) flags |= RowDropTarget;
            PaintRow(painter, item, (static_cast<int>(row) - 1 - top) * rowHeight, flags);
            ++paintedRows;
        }
    }
}

void TEnhancedListWindow::SetDropTarget(TTreeItem* target) {
    if (target == dropTarget) return;
    if (dropTarget) RepaintItem(dropTarget);
    dropTarget = target;
    if (dropTarget) RepaintItem(dropTarget);
}

void TEnhancedListWindow::UpdateDragCursor() {
    switch (selection.Cursor(dropTarget)) {
        case TDragCursor::NoDrop:
            viewport()->setCursor(Qt::ForbiddenCursor);
            break;
        case TDragCursor::One:
            viewport()->setCursor(DragCursor(dragOneIcon));
            break;
        case TDragCursor::Several:
            viewport()->setCursor(DragCursor(dragSeveralIcon));
            break;
    }
}

void TEnhancedListWindow::EndDrag() {
    dragging = false;
    SetDropTarget(nullptr);
    viewport()->unsetCursor();
}

void TEnhancedListWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    int column = 0;
    TTreeItem* item = ItemAt(point, &column);
    if (event->button() == Qt::RightButton) {
        if (dragging) return;
        setFocus(Qt::MouseFocusReason);
        const std::vector<TTreeItem*> before = selection.Items();
        selection.ContextPress(item);
        SelectionMoved(before);
        ShowContextMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    buttonDown = true;
    downPoint = lastMouse = point;
    if (!item) return;
    item->Click(column);
    const std::vector<TTreeItem*> before = selection.Items();
    selection.Press(item, event->modifiers() & Qt::ControlModifier,
                    event->modifiers() & Qt::ShiftModifier);
    SelectionMoved(before);
}

void TEnhancedListWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!buttonDown) return;
    lastMouse = event->position().toPoint();
    if (!viewport()->rect().contains(lastMouse)) {
        if (!scrollTimer->isActive()) scrollTimer->start();
    } else {
        scrollTimer->stop();
    }
    if (!dragging) {
        if ((lastMouse - downPoint).manhattanLength() < QApplication::startDragDistance()) return;
        if (selection.Count() == 0) return;
        dragging = true;
    }
    SetDropTarget(ItemAt(lastMouse));
    UpdateDragCursor();
}

void TEnhancedListWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !buttonDown) return;
    buttonDown = false;
    scrollTimer->stop();
    const std::vector<TTreeItem*> before = selection.Items();
    if (dragging) {
        TTreeItem* target = dropTarget;
        EndDrag();
        if (selection.Drop(target)) {
            widthDirty = true;
            QueueIdlePass();
            viewport()->update();
        }
    } else {
        selection.Release(ItemAt(event->position().toPoint()),
                          event->modifiers() & Qt::ControlModifier,
                          event->modifiers() & Qt::ShiftModifier);
    }
    SelectionMoved(before);
}

void TEnhancedListWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int column = 0;
    if (TTreeItem* item = ItemAt(event->position().toPoint(), &column)) item->DoubleClick(column);
}

void TEnhancedListWindow::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    wheelRest += delta.y() != 0 ? delta.y() : delta.x();
    while (wheelRest >= 120 || wheelRest <= -120) {
        const int step = wheelRest > 0 ? -1 : 1;
        wheelRest += step * 120;
        if (event->modifiers() & Qt::ControlModifier) {
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + step * cellWidth);
        } else {
            verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
        }
    }
    event->accept();
}

void TEnhancedListWindow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) ||
        event->modifiers() & ~Qt::KeypadModifier) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const std::vector<TTreeItem*> before = selection.Items();
    TTreeItem* now = selection.Step(event->key() == Qt::Key_Up ? -1 : 1);
    SelectionMoved(before);
    ScrollIntoView(list.IndexOf(now));
}

void TEnhancedListWindow::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        advances.clear();
        widthDirty = true;
        QueueIdlePass();
    }
}

void TEnhancedListWindow::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RepaintSelection();
}

void TEnhancedListWindow::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    RepaintSelection();
}

// --- Menus of the tree windows -----------------------------------------------------------------

QList<QMenu*> TTreeWindow::ActiveMenus() {
    UpdateCommands();
    return {editMenu};
}

QAction* TTreeWindow::CommandAction(int id) const {
    for (const TBound& b : bound)
        if (b.command.id == id && !b.actions.isEmpty()) return b.actions.front();
    for (const auto& [entryId, action] : frameEntries)
        if (entryId == id) return action;
    return nullptr;
}

QAction* TTreeWindow::MakeAction(QMenu* menu, const TCommand& command, bool context) {
    QString text = context && !command.contextText.isEmpty() ? command.contextText : command.text;
    auto* action = new QAction(menu);
    action->setObjectName(QString(context ? "context%1" : "cmd%1").arg(command.id));
    if (context) {
        // The context menu names the key; the Edit menu's action carries it.
        if (!text.contains('\t') && !command.keys.isEmpty())
            text += '\t' + command.keys.front().toString(QKeySequence::NativeText);
    } else {
        action->setShortcuts(command.keys);
    }
    action->setText(text);
    menu->addAction(action);
    connect(action, &QAction::triggered, this, [this, run = command.run] {
        run();
        UpdateCommands();
    });
    return action;
}

void TTreeWindow::BuildMenus(const QString& insertTitle, const std::vector<TCommand>& inserts,
                             const std::vector<TCommand>& others,
                             const std::vector<TCommand>& frame) {
    editMenu = new QMenu("&Edit", this);
    editMenu->setObjectName("menuTreeEdit");
    editMenu->setAccessibleName("Edit");
    contextMenu = new QMenu(this);
    contextMenu->setObjectName("treeContextMenu");
    contextMenu->setAccessibleName(accessibleName());
    QMenu* insert = editMenu->addMenu(insertTitle);
    insert->setObjectName("menuTreeInsert");
    insert->setAccessibleName(QString(insertTitle).remove('&'));
    for (const TCommand& c : inserts)
        bound.push_back({c, {MakeAction(insert, c, false), MakeAction(contextMenu, c, true)}});
    contextMenu->addSeparator();
    for (const TCommand& c : others)
        bound.push_back({c, {MakeAction(editMenu, c, false), MakeAction(contextMenu, c, true)}});
    contextMenu->addSeparator();
    for (const TCommand& c : frame) {
        // The list configuration stands in both menus, the reports in the context menu only.
        const bool inEdit = &c == &frame.front();
        if (inEdit) {
            editMenu->addSeparator();
            auto* action = editMenu->addAction(c.text);
            action->setObjectName(QString("cmd%1").arg(c.id));
            action->setEnabled(false);
            frameEntries.emplace_back(c.id, action);
        }
        auto* action = contextMenu->addAction(c.text);
        action->setObjectName(QString("context%1").arg(c.id));
        action->setEnabled(false);
        frameEntries.emplace_back(c.id, action);
        if (inEdit) contextMenu->addSeparator();
    }
    connect(editMenu, &QMenu::aboutToShow, this, &TTreeWindow::UpdateCommands);
    connect(this, &TEnhancedListWindow::SelectionChanged, this, &TTreeWindow::UpdateCommands);
    UpdateCommands();
}

void TTreeWindow::LinkFrameCommand(int id, QAction* frameAction) {
    if (!frameAction) return;
    QPointer<QAction> target(frameAction);
    for (const auto& [entryId, action] : frameEntries) {
        if (entryId != id) continue;
        QAction* entry = action;
        entry->setEnabled(frameAction->isEnabled());
        connect(entry, &QAction::triggered, this, [target] {
            if (target && target->isEnabled()) target->trigger();
        });
        connect(frameAction, &QAction::changed, entry,
                [entry, target] { entry->setEnabled(target && target->isEnabled()); });
    }
}

void TTreeWindow::UpdateCommands() {
    for (TBound& b : bound) {
        const bool on = b.command.enabled();
        for (QAction* action : b.actions)
            action->setEnabled(on);
    }
}

void TTreeWindow::ShowContextMenu(const QPoint& globalPos) {
    UpdateCommands();
    contextMenu->exec(globalPos);
}

template <class Node>
std::vector<Node*> TTreeWindow::Selected() const {
    std::vector<Node*> nodes;
    for (TTreeItem* item : const_cast<TTreeWindow*>(this)->Selection().Items())
        if (auto* node = dynamic_cast<Node*>(item)) nodes.push_back(node);
    return nodes;
}

template <class Node>
void TTreeWindow::DeleteSelected() {
    const std::vector<Node*> copy = Selected<Node>();
    for (Node* node : copy) {
        // An earlier deletion may have taken this node with it (a bundle's contents).
        if (!Selection().IsSelected(node)) continue;
        if (!node->Delete()) break;
    }
    viewport()->update();
}

template <class Node>
void TTreeWindow::EditSelected() {
    const std::vector<Node*> copy = Selected<Node>();
    for (Node* node : copy) {
        if (!Selection().IsSelected(node)) continue;
        if (!node->EditProperties()) break;
    }
}

namespace {

// The predicates the tables share, over the selected nodes.
template <class Node>
bool Any(const std::vector<Node*>& nodes, bool (Node::*can)() const) {
    return std::any_of(nodes.begin(), nodes.end(), [can](Node* n) { return (n->*can)(); });
}
template <class Node>
bool All(const std::vector<Node*>& nodes, bool (Node::*can)() const) {
    return !nodes.empty() &&
           std::all_of(nodes.begin(), nodes.end(), [can](Node* n) { return (n->*can)(); });
}
template <class Node>
bool NoneRefuses(const std::vector<Node*>& nodes, bool (Node::*can)() const) {
    return std::none_of(nodes.begin(), nodes.end(), [can](Node* n) { return !(n->*can)(); });
}

QKeySequence Keys(const char* text) {
    return QKeySequence(QString::fromLatin1(text));
}

}  // namespace

// --- The account window ------------------------------------------------------------------------

TAccountTreeWindow::TAccountTreeWindow(TAccountList& list, QWidget* parent)
    : TTreeWindow(list, TreeCellSize(), TreeCellSize(), "drag-one", "drag-many", parent),
      accounts(list) {
    setObjectName("accountTree");
    setAccessibleName("Accounts");
    setWindowTitle("Accounts");
    using N = TAccountNode;
    auto sel = [this] { return Selected<N>(); };
    auto one = [sel](bool (N::*can)() const) {
        return [sel, can] {
            const auto nodes = sel();
            return !nodes.empty() && (nodes.front()->*can)();
        };
    };
    std::vector<TCommand> inserts = {
        {CmNewAccount,
         "Insert &Account...",
         {},
         {Keys("Ctrl+A")},
         one(&N::CanNewAccount),
         [sel] {
             if (auto nodes = sel(); nodes.size() == 1) nodes.front()->NewAccount();
         }},
        {CmNewAccountGroup,
         "Insert Account &Group...",
         {},
         {Keys("Ctrl+G")},
         one(&N::CanNewGroup),
         [sel] {
             if (auto nodes = sel(); nodes.size() == 1) nodes.front()->NewGroup();
         }},
    };
    std::vector<TCommand> others = {
        {CmDeleteTreeItem,
         "&Delete Account Item",
         {},
         {Keys("Ctrl+Del")},
         [sel] { return All(sel(), &N::CanDelete); },
         [this] { DeleteSelected<N>(); }},
        {CmOpenAccountLedger,
         "Open &Account Ledger",
         {},
         {Keys("Return"), Keys("Enter")},
         [sel] { return Any(sel(), &N::CanOpenLedger); },
         [sel] {
             for (N* n : sel())
                 if (n->CanOpenLedger()) n->OpenLedger();
         }},
        {CmOpenAccountReconcile,
         "Open Account &Reconcile",
         {},
         {Keys("Ctrl+Return"), Keys("Ctrl+Enter")},
         [sel] { return Any(sel(), &N::CanOpenReconcile); },
         [sel] {
             for (N* n : sel())
                 if (n->CanOpenReconcile()) n->OpenReconcile();
         }},
        {CmEditProperties,
         "&Edit Account Properties...",
         {},
         {Keys("Alt+Return")},
         [sel] { return NoneRefuses(sel(), &N::CanEditProperties); },
         [this] { EditSelected<N>(); }},
    };
    std::vector<TCommand> frame = {
        {123, "Account List &Configuration...", {}, {}, {}, {}},
        {141, "Account &Ledger Report...", {}, {}, {}, {}},
        {143, "Account &Summary Report...", {}, {}, {}, {}},
    };
    BuildMenus("&Insert Account Item", inserts, others, frame);
    OptionsChanged();
}

void TAccountTreeWindow::OptionsChanged() {
    accounts.SetLabelSwitches(TAccountLabelSwitches::From(CurrentOptions()));
    RefreshAll();
}

// --- The envelope window -----------------------------------------------------------------------

TEnvelopeTreeWindow::TEnvelopeTreeWindow(TEnvelopeList& list, QWidget* parent)
    : TTreeWindow(list, TreeCellSize(), TreeCellSize(), "drag-one", "drag-many", parent),
      envelopes(list) {
    setObjectName("envelopeTree");
    setAccessibleName("Envelopes");
    setWindowTitle("Envelopes");
    using N = TEnvelopeNode;
    auto sel = [this] { return Selected<N>(); };
    auto single = [sel](bool (N::*can)() const) {
        return [sel, can] {
            const auto nodes = sel();
            return nodes.size() == 1 && (nodes.front()->*can)();
        };
    };
    auto onSingle = [sel](bool (N::*make)()) {
        return [sel, make] {
            if (auto nodes = sel(); nodes.size() == 1) (nodes.front()->*make)();
        };
    };
    std::vector<TCommand> inserts = {
        {CmNewEnvelope,
         "&Envelope...",
         "Insert &Envelope...\tCtrl+E",
         {Keys("Ctrl+V"), Keys("Ctrl+E")},
         single(&N::CanNewEnvelope),
         [sel] {
             if (auto nodes = sel(); nodes.size() == 1) nodes.front()->NewEnvelope();
         }},
        {CmNewBundle,
         "&Bundle...",
         {},
         {Keys("Ctrl+B")},
         single(&N::CanNewBundle),
         onSingle(&N::NewBundle)},
        {CmNewAssociation,
         "&Association...",
         {},
         {Keys("Ctrl+A")},
         single(&N::CanNewAssociation),
         onSingle(&N::NewAssociation)},
    };
    std::vector<TCommand> others = {
        {CmDeleteTreeItem,
         "&Delete Envelope Item",
         {},
         {Keys("Ctrl+Del")},
         [sel] { return All(sel(), &N::CanDelete); },
         [this] { DeleteSelected<N>(); }},
        {CmOpenEnvelopeLedger,
         "Open &Envelope Ledger",
         {},
         {Keys("Return"), Keys("Enter")},
         [sel] { return Any(sel(), &N::CanOpenLedger); },
         [sel] {
             for (N* n : sel())
                 if (n->CanOpenLedger()) n->OpenLedger();
         }},
        {CmToggleWatchdog,
         "&Toggle Watchdog",
         {},
         {Keys("Ctrl+D")},
         [sel] { return All(sel(), &N::CanToggleWatchdog); },
         [sel] {
             for (N* n : sel())
                 n->ToggleWatchdog();
         }},
        {CmZeroEnvelope,
         "&Zero Envelope...",
         {},
         {Keys("Ctrl+Z")},
         [sel] {
             const auto nodes = sel();
             return !nodes.empty() && std::all_of(nodes.begin(), nodes.end(), [](N* n) {
                 return n->Kind() == TEnvelopeKind::Envelope;
             });
         },
         [this, sel] { envelopes.ZeroEnvelopes(sel()); }},
        {CmEditProperties,
         "Edit Envelope &Properties...",
         {},
         {Keys("Alt+Return")},
         [sel] { return NoneRefuses(sel(), &N::CanEditProperties); },
         [this] { EditSelected<N>(); }},
    };
    std::vector<TCommand> frame = {
        {122, "Envelope List &Configuration...", {}, {}, {}, {}},
        {148, "Envelope &Ledger Report...", {}, {}, {}, {}},
        {149, "Envelope &Activity Report...", {}, {}, {}, {}},
        {147, "Envelope &Summary Report...", {}, {}, {}, {}},
    };
    BuildMenus("&Insert Envelope Item", inserts, others, frame);
    OptionsChanged();
}

void TEnvelopeTreeWindow::OptionsChanged() {
    envelopes.SetLabelSwitches(TEnvelopeLabelSwitches::From(CurrentOptions()));
    RefreshAll();
}

const char* TEnvelopeTreeWindow::IconOverride(const TTreeItem* item) const {
    auto* node = dynamic_cast<const TEnvelopeNode*>(item);
    return node && node->IsAlias() ? "alias" : nullptr;
}

// --- Accessibility -----------------------------------------------------------------------------

namespace {

// One visible row, by its number; it reads the row afresh on every question.
class TTreeRowAccessible : public QAccessibleInterface {
public:
    TTreeRowAccessible(TEnhancedListWindow* window, uint32_t row) : owner(window), row(row) {}

    bool isValid() const override { return owner && row <= owner->List().GetCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner ? owner->window()->windowHandle() : nullptr; }
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
        return owner->RowText(row);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = owner->RowRect(row);
        return QRect(owner->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const TTreeItem* item = owner->List().GetItem(row);
        s.selected = owner->Selection().IsSelected(item);
        s.focused = owner->hasFocus() && item == owner->Selection().First();
        const QRect r = owner->RowRect(row);
        s.invisible = r.bottom() < 0 || r.top() >= owner->viewport()->height();
        return s;
    }

private:
    QPointer<TEnhancedListWindow> owner;
    uint32_t row;
};

class TTreeWindowAccessible : public QAccessibleWidget {
public:
    explicit TTreeWindowAccessible(TEnhancedListWindow* window)
        : QAccessibleWidget(window, QAccessible::List) {}
    ~TTreeWindowAccessible() override {
        for (QAccessible::Id id : std::as_const(rows))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        return static_cast<int>(std::min<uint32_t>(Window()->List().GetCount(), 1u << 24));
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto found = rows.constFind(index);
        if (found != rows.constEnd()) return QAccessible::accessibleInterface(*found);
        auto* row = new TTreeRowAccessible(Window(), static_cast<uint32_t>(index) + 1);
        rows.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = rows.constBegin(); it != rows.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = Window()->viewport()->mapFromGlobal(QPoint(x, y));
        TTreeItem* item = Window()->ItemAt(local);
        return item ? child(static_cast<int>(Window()->List().IndexOf(item)) - 1) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const uint32_t row = Window()->List().IndexOf(Window()->Selection().First());
        return row ? child(static_cast<int>(row) - 1) : nullptr;
    }

private:
    TEnhancedListWindow* Window() const { return static_cast<TEnhancedListWindow*>(widget()); }
    mutable QHash<int, QAccessible::Id> rows;
};

QAccessibleInterface* TreeWindowFactory(const QString&, QObject* object) {
    if (auto* window = qobject_cast<TEnhancedListWindow*>(object))
        return new TTreeWindowAccessible(window);
    return nullptr;
}

}  // namespace

void InstallTreeWindowAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(TreeWindowFactory);
}
