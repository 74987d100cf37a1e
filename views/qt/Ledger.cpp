#include "views/qt/Ledger.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "controls/qt/QtText.h"
#include "core/LedgerList.h"
#include "views/qt/LedgerAccessible.h"
#include "views/qt/LedgerEditors.h"

namespace {

QRect ToQRect(const TGridRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

Qt::Alignment Alignment(TCellAlign align) {
    switch (align) {
        case TCellAlign::Centre:
            return Qt::AlignCenter;
        case TCellAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case TCellAlign::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

TGridKey MapKey(int key) {
    switch (key) {
        case Qt::Key_Left:
            return TGridKey::Left;
        case Qt::Key_Right:
            return TGridKey::Right;
        case Qt::Key_Up:
            return TGridKey::Up;
        case Qt::Key_Down:
            return TGridKey::Down;
        case Qt::Key_Home:
            return TGridKey::Home;
        case Qt::Key_End:
            return TGridKey::End;
        case Qt::Key_PageUp:
            return TGridKey::PageUp;
        case Qt::Key_PageDown:
            return TGridKey::PageDown;
        case Qt::Key_Tab:
            return TGridKey::Tab;
        case Qt::Key_Backtab:
            return TGridKey::Backtab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return TGridKey::Enter;
        case Qt::Key_Backspace:
            return TGridKey::Backspace;
        case Qt::Key_Escape:
            return TGridKey::Escape;
        case Qt::Key_Delete:
            return TGridKey::Delete;
        case Qt::Key_Insert:
            return TGridKey::Insert;
        default:
            return TGridKey::Other;
    }
}

unsigned MapModifiers(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? GridShift : 0u) |
           (modifiers & Qt::ControlModifier ? GridCtrl : 0u);
}

// Keys an open editor hands to the grid, which moves the cursor and so closes the editor.
bool EditorPassesOn(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

// A typed character that begins an edit.
bool StartsEdit(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

TLedger::TLedger(QWidget* parent, TLedgerList& model, bool footer)
    : QAbstractScrollArea(parent), grid(model, footer) {
    InstallLedgerAccessibility();
    setObjectName("Ledger");
    setAccessibleName(tr("Ledger"));
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    QScrollBar* bar = verticalScrollBar();
    bar->setTracking(false);
    connect(bar, &QScrollBar::actionTriggered, this, &TLedger::OnScrollAction);
    connect(bar, &QScrollBar::sliderMoved, this, &TLedger::OnSliderMoved);
    connect(bar, &QScrollBar::sliderReleased, this, [this] {
        OnSliderMoved(verticalScrollBar()->sliderPosition());
        UpdateScrollBar();
    });
    model.SetRowsChanged([this](uint32_t row) { RowsChanged(row); });
    RebuildFont();
}

TLedger::~TLedger() {
    CloseEditor();
    Model().SetRowsChanged(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Columns, layout, font

uint32_t TLedger::AddColumn(uint32_t id, uint32_t chars, uint32_t position) {
    return grid.AddColumn(id, chars, position);
}

void TLedger::ClearColumns() {
    CloseEditor();
    grid.ClearColumns();
}

void TLedger::Relayout(bool repaint) {
    const QSize size = viewport()->size();
    if (grid.LayoutWidth(size.width())) RebuildFont();
    grid.LayoutHeight(size.height(), QFontMetrics(gridFont).lineSpacing());
    UpdateScrollBar();
    if (repaint) viewport()->update();
}

void TLedger::RebuildFont() {
    static const QString family =
        QFontDatabase::families().contains("Tahoma")
            ? QStringLiteral("Tahoma")
            : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    const int system = QFontInfo(QApplication::font()).pixelSize();
    QFont font(family);
    font.setStyleStrategy(QFont::PreferQuality);
    font.setPixelSize(TLedgerGrid::WantedFontHeight(grid.CharWidth100(), system));
    gridFont = font;
    if (editor) editor->setFont(gridFont);
}

void TLedger::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout(true);
}

// ---------------------------------------------------------------------------------------------
// Loading and the cursor

void TLedger::LoadAtTop(bool force) {
    CloseEditor();
    if (grid.LoadAtTop(force)) Moved(0);
}

void TLedger::LoadAtEnd(bool force) {
    CloseEditor();
    if (grid.LoadAtEnd(force)) Moved(0);
}

void TLedger::SetPreferredColumn(uint32_t id) {
    grid.SetPreferredColumn(id);
}

void TLedger::SelectItem(const TLedgerItem* item) {
    CloseEditor();
    const uint32_t before = grid.CurrentModelRow();
    if (grid.SelectItem(item)) Moved(before);
}

TLedgerItem* TLedger::GetCurrentItem() const {
    return grid.CurrentItem();
}

uint32_t TLedger::GetCurrentColumn() const {
    return grid.CurrentColumnId();
}

void TLedger::Moved(uint32_t oldModelRow) {
    UpdateScrollBar();
    viewport()->update();
    if (oldModelRow != grid.CurrentModelRow() || oldModelRow == 0) emit CurrentRowChanged();
    NotifyLedgerFocus(this);
}

void TLedger::HandleKey(TGridKey key, unsigned modifiers) {
    CloseEditor();
    const uint32_t before = grid.CurrentModelRow();
    switch (grid.Key(key, modifiers)) {
        case TGridAction::Moved:
            Moved(before);
            break;
        case TGridAction::Reloaded:
        case TGridAction::RowAction:
            Moved(0);
            break;
        case TGridAction::BeginEdit:
            BeginEdit(EditWithValue);
            break;
        case TGridAction::None:
            break;
    }
}

void TLedger::CutRow() {
    HandleKey(TGridKey::Delete, GridShift);
}

void TLedger::CopyRow() {
    HandleKey(TGridKey::Insert, GridCtrl);
}

void TLedger::DeleteRow() {
    HandleKey(TGridKey::Delete, GridCtrl);
}

void TLedger::RowsChanged(uint32_t row) {
    if (row == 0) {
        // The model reloaded its window: the editor's row may be gone.
        if (editor && !closingEditor) {
            editItem = nullptr;
            CloseEditor(true);
        }
        grid.MarkChanged();
        grid.Clamp();
        UpdateScrollBar();
        emit CurrentRowChanged();
    }
    viewport()->update();
    emit ModelChanged(row);
}

// ---------------------------------------------------------------------------------------------
// The scroll bar

void TLedger::UpdateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    if (bar->isSliderDown()) return;  // the user's drag owns the thumb
    const QSignalBlocker block(bar);
    updatingBar = true;
    const int low = static_cast<int>(grid.ScrollMinimum());
    const int high = static_cast<int>(grid.ScrollMaximum());
    bar->setRange(low, high);
    bar->setPageStep(std::max(1, static_cast<int>(grid.VisibleRows())));
    bar->setSingleStep(1);
    bar->setValue(grid.VisibleRows() ? static_cast<int>(grid.ScrollThumb()) : low);
    updatingBar = false;
}

void TLedger::OnScrollAction(int action) {
    if (updatingBar) return;
    bool moved = false;
    const uint32_t before = grid.CurrentModelRow();
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            CloseEditor();
            moved = grid.ScrollRowDown(true);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            CloseEditor();
            moved = grid.ScrollRowUp(true);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            CloseEditor();
            moved = grid.ScrollWindowDown();
            break;
        case QAbstractSlider::SliderPageStepSub:
            CloseEditor();
            moved = grid.ScrollWindowUp();
            break;
        case QAbstractSlider::SliderToMinimum:
            CloseEditor();
            moved = grid.LoadAtTop(true);
            break;
        case QAbstractSlider::SliderToMaximum:
            CloseEditor();
            moved = grid.LoadAtEnd(true);
            break;
        default:
            return;  // dragging: the slider's own signals
    }
    // The slider would step its value itself; the grid's position is the truth.
    verticalScrollBar()->setSliderPosition(static_cast<int>(grid.ScrollThumb()));
    if (moved) Moved(before);
}

void TLedger::OnSliderMoved(int value) {
    CloseEditor();
    grid.JumpTo(static_cast<uint32_t>(std::max(value, 0)));
    viewport()->update();
    emit CurrentRowChanged();
}

void TLedger::scrollContentsBy(int, int) {
    // Rows move through the model, never by shifting pixels.
}

// ---------------------------------------------------------------------------------------------
// Editing

void TLedger::BeginEdit(unsigned options) {
    StartEdit(options, QString());
}

void TLedger::StartEdit(unsigned options, const QString& firstChar) {
    if (editor || isMinimized() || window()->isMinimized() || grid.VisibleRows() == 0) return;
    TLedgerItem* item = grid.CurrentItem();
    const uint32_t column = grid.CurrentColumnId();
    if (!item || column == 0) return;
    std::unique_ptr<TCellEditor> made = item->CreateEditor(column, options);
    const QRect cell = CellRect(grid.CursorRow(), grid.CursorColumn());
    if (!made) {  // not edited here; a two-state cell may have toggled
        viewport()->update(QRect(0, cell.top(), viewport()->width(), cell.height()));
        return;
    }
    QLineEdit* edit = nullptr;
    if (made->kind == TCellEditorKind::StringList) {
        edit = MakeLedgerListEditor(viewport(), std::move(made->choices), made->text);
        editorStores = true;
    } else {
        edit = MakeLedgerTextEditor(viewport(), made->text);
        editorStores = false;
    }
    edit->setObjectName("LedgerEditor");
    edit->setAccessibleName(FromWindows1252(Model().PaintHeader(column).text));
    edit->setFrame(false);
    edit->setFont(gridFont);
    const QFontMetrics metrics(gridFont);
    QRect area = cell;
    // The editor stands over its own cell, at least as large, growing to the right as far as the
    // grid reaches (moved left, it would stand over the column before and seem to edit that).
    const int wanted = static_cast<int>(made->chars) * metrics.averageCharWidth() * 4 / 3;
    area.setWidth(std::max(cell.width(), std::min(wanted, viewport()->width() - cell.left())));
    edit->setGeometry(area);
    edit->installEventFilter(this);
    editor = edit;
    editItem = item;
    editColumn = column;
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    if (!firstChar.isEmpty()) {
        edit->setCursorPosition(0);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, firstChar);
        QCoreApplication::sendEvent(edit, &press);
    }
}

void TLedger::CloseEditor(bool discard) {
    if (!editor || closingEditor) return;
    closingEditor = true;
    QPointer<QWidget> closing = editor;
    editor = nullptr;
    // The editor is the window's focus widget even while the window itself is inactive.
    const bool hadFocus = closing->hasFocus() || closing == window()->focusWidget();
    auto* edit = qobject_cast<QLineEdit*>(closing.data());
    TLedgerItem* item = editItem;
    editItem = nullptr;
    if (item && edit && (!discard || editorStores))
        item->SetCellText(editColumn, ToWindows1252(edit->text()));
    closing->removeEventFilter(this);
    closing->hide();
    closing->deleteLater();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    closingEditor = false;
    viewport()->update();
}

bool TLedger::IsEditing() const {
    return editor != nullptr;
}

QWidget* TLedger::Editor() const {
    return editor;
}

bool TLedger::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor) return QAbstractScrollArea::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape || EditorPassesOn(key->key())) {
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                CloseEditor(true);
                return true;
            }
            if (EditorPassesOn(key->key())) {
                HandleKey(MapKey(key->key()), MapModifiers(key->modifiers()));
                return true;
            }
            break;
        }
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) CloseEditor();
            break;
        default:
            break;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Keys, mouse, wheel, focus

bool TLedger::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The grid's own keys are never taken by a window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const TGridKey mapped = MapKey(key->key());
        if ((plain && mapped != TGridKey::Other && mapped != TGridKey::Escape &&
             mapped != TGridKey::Delete && mapped != TGridKey::Insert) ||
            StartsEdit(key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TLedger::focusNextPrevChild(bool) {
    return false;  // Tab and Shift+Tab move the cell cursor
}

void TLedger::keyPressEvent(QKeyEvent* event) {
    if (editor) {  // keys that reach the grid while an editor is open are the editor's
        // A key the editor ignores comes back up to the grid: it goes no further.
        if (forwardingKey) return;
        forwardingKey = true;
        QCoreApplication::sendEvent(editor, event);
        forwardingKey = false;
        return;
    }
    const TGridKey key = MapKey(event->key());
    if (key == TGridKey::Escape) {
        emit EscapePressed();
        return;
    }
    if (key == TGridKey::Other) {
        if (StartsEdit(event)) {
            StartEdit(EditStartEmpty, event->text());
            return;
        }
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    HandleKey(key, MapModifiers(event->modifiers()));
}

void TLedger::mousePressEvent(QMouseEvent* event) {
    const bool right = event->button() == Qt::RightButton;
    if (event->button() != Qt::LeftButton && !right) return;
    if (right && !hasFocus()) setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    const uint32_t row = grid.RowAt(at.y());
    const uint32_t column = grid.ColumnAt(at.x());
    if (row != 0 && column != 0 && at.y() < grid.Height() - grid.FooterHeight()) {
        CloseEditor();
        const uint32_t before = grid.CurrentModelRow();
        if (grid.MoveTo(row, column)) Moved(before);
    }
    if (right) emit ContextMenuRequested(event->globalPosition().toPoint());
}

void TLedger::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();  // a click acts on the press
}

void TLedger::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    const uint32_t row = grid.RowAt(at.y());
    const uint32_t column = grid.ColumnAt(at.x());
    if (row == 0 || column == 0) return;
    CloseEditor();
    const uint32_t before = grid.CurrentModelRow();
    if (grid.MoveTo(row, column)) Moved(before);
    BeginEdit(EditWithValue | EditMayToggle);
    viewport()->update();
}

void TLedger::SetHovered(TLedgerItem* item) {
    if (item == hovered) return;
    hovered = item;
    emit HoveredItemChanged(item);
}

void TLedger::mouseMoveEvent(QMouseEvent* event) {
    const uint32_t row = grid.RowAt(event->position().toPoint().y());
    SetHovered(row ? Model().GetItem(grid.TopRow() + row - 1) : nullptr);
}

bool TLedger::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) SetHovered(nullptr);
    return QAbstractScrollArea::viewportEvent(event);
}

void TLedger::wheelEvent(QWheelEvent* event) {
    int& pending = wheelPending;  // high-resolution wheels send parts of a notch
    pending += event->angleDelta().y();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const uint32_t before = grid.CurrentModelRow();
    bool moved = false;
    if (pending >= 120 || pending <= -120) CloseEditor();
    for (; pending >= 120; pending -= 120)
        moved |= ctrl ? grid.ScrollWindowUp() : grid.ScrollRowUp(true);
    for (; pending <= -120; pending += 120)
        moved |= ctrl ? grid.ScrollWindowDown() : grid.ScrollRowDown(true);
    if (moved) Moved(before);
    event->accept();
}

void TLedger::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TLedger::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TLedger::SetStripe(const QColor& colour) {
    stripe = colour;
    viewport()->update();
}

QRect TLedger::CellRect(uint32_t row, uint32_t column) const {
    return ToQRect(grid.BodyCell(row, column));
}

QRect TLedger::FooterRect() const {
    return QRect(0, grid.Height() - grid.FooterHeight() + 1, grid.Width(), grid.FooterHeight() - 1);
}

void TLedger::SetFooterPainter(std::function<void(QPainter&, const QRect&)> painter) {
    footerPainter = std::move(painter);
    viewport()->update();
}

void TLedger::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    PaintTo(painter);
}

void TLedger::PaintTo(QPainter& painter) {
    const QPalette& colours = palette();
    const int w = grid.Width(), h = grid.Height();
    painter.fillRect(QRect(0, 0, w, h), colours.color(QPalette::Button));
    painter.setFont(gridFont);
    const uint32_t columns = grid.ColumnCount();
    const int rowHeight = grid.RowHeight();
    const int bodyTop = grid.HeaderHeight();
    const int bodyBottom = h - grid.FooterHeight();
    const QColor line = colours.color(QPalette::Dark);
    auto paintCell = [&](const QRect& r, const TCellPaint& cell, const QColor& text) {
        if (cell.highlight) {
            painter.fillRect(r, colours.color(QPalette::Highlight));
            painter.setPen(colours.color(QPalette::HighlightedText));
        } else {
            painter.setPen(text);
        }
        painter.drawText(r.adjusted(2, 0, -2, 0), Alignment(cell.align) | Qt::TextSingleLine,
                         FromWindows1252(cell.text));
    };

    // The header and the footer, on the button face.
    for (uint32_t k = 1; k <= columns; ++k)
        paintCell(ToQRect(grid.HeaderCell(k)), Model().PaintHeader(grid.Column(k).id),
                  colours.color(QPalette::ButtonText));
    if (grid.HasFooter()) {
        if (footerPainter) {
            footerPainter(painter, FooterRect());
        } else {
            for (uint32_t k = 1; k <= columns; ++k)
                paintCell(ToQRect(grid.FooterCell(k)), Model().PaintFooter(grid.Column(k).id),
                          colours.color(QPalette::ButtonText));
        }
    }

    // The rows, the partial one under the last whole row included. Their backgrounds are fixed
    // light colours, so their text is dark whatever the theme.
    const bool focused = hasFocus() || editor;
    const QRect clip =
        painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : QRect(0, 0, w, h);
    const uint32_t rows = grid.VisibleRows() + (grid.PartialPixels() > 0 ? 1 : 0);
    for (uint32_t r = 1; r <= rows; ++r) {
        const uint32_t modelRow = grid.TopRow() + r - 1;
        TLedgerItem* item = Model().GetItem(modelRow);
        const int top = bodyTop + static_cast<int>(r - 1) * rowHeight;
        const QRect band(0, top, w, std::min(rowHeight, bodyBottom - top));
        if (!band.intersects(clip) || band.height() <= 0) continue;
        painter.save();
        painter.setClipRect(band, Qt::IntersectClip);
        painter.fillRect(band, r % 2 == 1 ? stripe : QColor(Qt::white));
        const bool cursorRow = r == grid.CursorRow() && r <= grid.VisibleRows();
        for (uint32_t k = 1; k <= columns && item; ++k) {
            unsigned state = 0;
            if (cursorRow && k == grid.CursorColumn() && !editor) state |= CellCurrent;
            if (cursorRow && focused) state |= CellFocusedRow;
            TCellPaint cell = item->PaintCell(grid.Column(k).id, state);
            const QRect rect = ToQRect(grid.BodyCell(r, k));
            if (state & CellCurrent) {
                painter.fillRect(rect, focused ? colours.color(QPalette::Highlight)
                                               : colours.color(QPalette::Midlight));
                paintCell(rect, cell,
                          focused ? colours.color(QPalette::HighlightedText) : QColor(Qt::black));
            } else {
                paintCell(rect, cell, Qt::black);
            }
        }
        painter.restore();
    }

    // The frame lines: between columns, under the header, above the footer.
    painter.setPen(line);
    for (uint32_t k = 1; k < columns; ++k) {
        const int x = grid.ColumnLeft(k) + grid.ColumnWidth(k);
        painter.drawLine(x, 0, x, h - 1);
    }
    painter.drawLine(0, bodyTop - 1, w - 1, bodyTop - 1);
    if (grid.HasFooter()) painter.drawLine(0, bodyBottom, w - 1, bodyBottom);
}
