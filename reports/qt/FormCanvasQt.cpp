#include "reports/qt/FormCanvasQt.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

#include "core/Text.h"
#include "reports/qt/SvgTemplateLoader.h"

namespace {

// A page that never set its window is taken as a portrait letter sheet at 300 units an inch.
const QRect DefaultWindow(0, 0, 2550, 3300);

// The border of check boxes and radio marks, in logical units (about a quarter point).
constexpr qreal BorderWidth = 3;

QRectF RectF(const TFormRect& r) {
    return QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

QColor FormColor(uint32_t rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

QRect TQtFormPage::Window() const {
    return window.isValid() ? window : DefaultWindow;
}

void TQtFormPage::Play(QPainter& painter, const QRectF& target) const {
    const QRect w = Window();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / w.width(), target.height() / w.height());
    painter.translate(-w.topLeft());
    painter.setClipRect(w, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    for (const auto& step : steps)
        step(painter);
    painter.restore();
}

TQtFormCanvas::TQtFormCanvas(TQtFormPage& p) : page(p) {}

void TQtFormCanvas::SetWindow(TFormPoint origin, TFormPoint extent) {
    if (extent.x == 0 || extent.y == 0) return;  // the extent follows
    page.window = QRect(origin.x, origin.y, extent.x, extent.y).normalized();
}

void TQtFormCanvas::Replay(const TFormTemplate& form, size_t record) {
    // Only templates read from SVG carry what it takes to draw their records.
    auto source = std::dynamic_pointer_cast<const TSvgFormSource>(form.source);
    if (!source || !source->Renderer(record)) return;
    page.steps.push_back([source, record](QPainter& painter) {
        painter.save();
        source->Renderer(record)->render(&painter, source->viewBox);
        painter.restore();
    });
}

const QFont& TQtFormCanvas::FontFor(const TFormFont& font) {
    const TFontKey key{font.height, font.weight, font.italic, font.face};
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;

    QFont q(QString::fromUtf8(Cp1252ToUtf8(font.face)));
    q.setStyleHint(QFont::SansSerif);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
    q.setItalic(font.italic);
    if (font.height < 0) {
        q.setPixelSize(std::max(1, -font.height));  // the character height itself
    } else {
        // A cell height: ascent and descent together fill it.
        q.setPixelSize(100);
        const QFontMetricsF m(q);
        const qreal cell = m.ascent() + m.descent();
        q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height * 100 / cell))));
    }
    return fonts.emplace(key, q).first->second;
}

void TQtFormCanvas::DrawText(const TFormFont& font, int32_t x, int32_t y, TFormAlign align,
                             const std::string& text, uint32_t textColor, uint32_t backColor,
                             bool clip, const TFormRect& clipRect) {
    const QFont& q = FontFor(font);
    const QString s = QString::fromUtf8(Cp1252ToUtf8(text));
    const QFontMetricsF m(q);
    const qreal width = m.horizontalAdvance(s);
    qreal left = x;
    if (align == TFormAlign::Centre) left -= width / 2;
    if (align == TFormAlign::Right) left -= width;
    const qreal baseline = font.height < 0 ? y : y - m.descent();
    const QRectF back(left, baseline - m.ascent(), width, m.ascent() + m.descent());
    page.steps.push_back([=](QPainter& painter) {
        painter.save();
        if (clip) painter.setClipRect(RectF(clipRect), Qt::IntersectClip);
        if (backColor) painter.fillRect(back, FormColor(backColor));
        if (textColor) painter.setPen(FormColor(textColor));
        painter.setFont(q);
        painter.drawText(QPointF(left, baseline), s);
        painter.restore();
    });
}

void TQtFormCanvas::FillRect(const TFormRect& rect, uint32_t color) {
    page.steps.push_back(
        [r = RectF(rect), c = FormColor(color)](QPainter& painter) { painter.fillRect(r, c); });
}

void TQtFormCanvas::Rectangle(const TFormRect& rect, uint32_t fill) {
    page.steps.push_back([r = RectF(rect), c = FormColor(fill)](QPainter& painter) {
        painter.save();
        painter.setPen(QPen(Qt::black, BorderWidth));
        painter.setBrush(c);
        painter.drawRect(r);
        painter.restore();
    });
}

void TQtFormCanvas::Ellipse(const TFormRect& rect, uint32_t fill) {
    page.steps.push_back([r = RectF(rect), c = FormColor(fill)](QPainter& painter) {
        painter.save();
        painter.setPen(QPen(Qt::black, BorderWidth));
        painter.setBrush(c);
        painter.drawEllipse(r);
        painter.restore();
    });
}

void TQtFormCanvas::Line(TFormPoint from, TFormPoint to, int32_t penWidth, uint32_t color) {
    page.steps.push_back([=](QPainter& painter) {
        painter.save();
        // Width 0 is the thinnest line the device draws; a negative width keeps the pen.
        if (penWidth >= 0)
            painter.setPen(QPen(FormColor(color), penWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
        painter.restore();
    });
}

int PaintFormPages(CFWEngine& report, TTemplateLoader& loader, QPagedPaintDevice& device,
                   QPainter& painter, int first, int last) {
    int widthMm = 0, heightMm = 0;
    report.GetPageSize(widthMm, heightMm);
    const QPageLayout layout = device.pageLayout();
    const QRect printable = layout.paintRectPixels(device.logicalDpiX());
    const QRectF printableMm = layout.paintRect(QPageLayout::Millimeter);
    const TFormRect placed = PlacePage(printable.width(), printable.height(), printableMm.width(),
                                       printableMm.height(), widthMm, heightMm);
    for (int n = first; n <= last; ++n) {
        TQtFormPage page;
        TQtFormCanvas canvas(page);
        const int status = report.BuildPage(n, loader, canvas);
        if (status != FormOk) return status;
        if (n != first) device.newPage();
        page.Play(painter, RectF(placed));
    }
    return FormOk;
}
