#include "reports/qt/FormWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <algorithm>

#include "reports/qt/FormCanvasQt.h"

namespace {

constexpr int MaxZoom = 2;
constexpr int LineStep = 16;
constexpr int ShadowOffset = 5;

// The sheet is half the page's true size at level 0, true size at 1, double at 2.
constexpr double ZoomScale[MaxZoom + 1] = {0.5, 1.0, 2.0};

// A magnifying glass with a plus, its hot spot in the middle of the lens.
QCursor MagnifierCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(19, 19, 28, 28);
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(19, 19, 28, 28);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.drawLine(QPointF(8, 12), QPointF(16, 12));
    p.drawLine(QPointF(12, 8), QPointF(12, 16));
    p.end();
    return QCursor(pixmap, 12, 12);
}

}  // namespace

TFormWindow::TFormWindow(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(MagnifierCursor());
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    horizontalScrollBar()->setSingleStep(LineStep);
    verticalScrollBar()->setSingleStep(LineStep);
    Place();
}

void TFormWindow::SetPage(std::shared_ptr<const TQtFormPage> p, QSizeF mm) {
    page = std::move(p);
    if (mm.width() > 0 && mm.height() > 0) sheetMm = mm;
    Place();
    viewport()->update();
}

QSize TFormWindow::SheetSize(int level) const {
    const double perMm = logicalDpiX() / 25.4 * ZoomScale[level];
    return QSize(std::max(1, int(sheetMm.width() * perMm)),
                 std::max(1, int(sheetMm.height() * perMm)));
}

// The scrollable area is the sheet with a window's width and height of margin on each side, so
// any part of the sheet can be brought to the middle.
void TFormWindow::UpdateScrollBars() {
    const QSize view = viewport()->size();
    const QSize sheet = SheetSize(zoom);
    const QSize area = view * 2 + sheet;
    horizontalScrollBar()->setRange(0, area.width() - view.width());
    verticalScrollBar()->setRange(0, area.height() - view.height());
    horizontalScrollBar()->setPageStep(std::max(1, view.width() / 2));
    verticalScrollBar()->setPageStep(std::max(1, view.height() / 2));
}

QRect TFormWindow::SheetRect() const {
    const QSize view = viewport()->size();
    return QRect(QPoint(view.width() - horizontalScrollBar()->value(),
                        view.height() - verticalScrollBar()->value()),
                 SheetSize(zoom));
}

void TFormWindow::SetZoom(int level, QPoint about) {
    // The point of the sheet under `about` stays under it.
    const QRect before = SheetRect();
    const double fx = double(about.x() - before.left()) / before.width();
    const double fy = double(about.y() - before.top()) / before.height();
    zoom = level;
    placing = true;
    UpdateScrollBars();
    const QSize view = viewport()->size();
    const QSize sheet = SheetSize(zoom);
    horizontalScrollBar()->setValue(view.width() + int(fx * sheet.width()) - about.x());
    verticalScrollBar()->setValue(view.height() + int(fy * sheet.height()) - about.y());
    placing = false;
    const QRect now = SheetRect();
    focus = QPointF(double(view.width() / 2 - now.left()) / now.width(),
                    double(view.height() / 2 - now.top()) / now.height());
    viewport()->update();
}

// Brings the focus point of the sheet to the middle of the window.
void TFormWindow::Place() {
    placing = true;
    UpdateScrollBars();
    const QSize view = viewport()->size();
    const QSize sheet = SheetSize(zoom);
    horizontalScrollBar()->setValue(view.width() / 2 + int(focus.x() * sheet.width()));
    verticalScrollBar()->setValue(view.height() / 2 + int(focus.y() * sheet.height()));
    placing = false;
}

void TFormWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && zoom < MaxZoom) {
        SetZoom(zoom + 1, at);
    } else if (event->button() == Qt::RightButton && zoom > 0) {
        SetZoom(zoom - 1, at);
    }
    event->accept();
}

void TFormWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Place();  // what was in the middle stays there
}

void TFormWindow::scrollContentsBy(int, int) {
    if (!placing) {
        const QSize view = viewport()->size();
        const QRect sheet = SheetRect();
        focus = QPointF(double(view.width() / 2 - sheet.left()) / sheet.width(),
                        double(view.height() / 2 - sheet.top()) / sheet.height());
    }
    viewport()->update();
}

void TFormWindow::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QRect sheet = SheetRect();
    painter.fillRect(sheet.translated(ShadowOffset, ShadowOffset),
                     palette().color(QPalette::Shadow));
    painter.fillRect(sheet, Qt::white);
    if (page) page->Play(painter, QRectF(sheet));
}
