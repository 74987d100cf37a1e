// Pages of the printed forms on Qt: a page is kept as a list of painting steps in the template's
// logical units, so it can be played at any size into the preview, a printer or a PDF.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "reports/FormEngine.h"

class QPainter;
class QPagedPaintDevice;

QColor FormColor(uint32_t rgb);

class TQtFormPage {
public:
    // The logical window the template set (a portrait letter sheet when it set none).
    QRect Window() const;
    // Plays the page with its window mapped onto `target` (device coordinates of `painter`).
    void Play(QPainter& painter, const QRectF& target) const;
    bool IsEmpty() const { return steps.empty(); }

private:
    friend class TQtFormCanvas;
    std::vector<std::function<void(QPainter&)>> steps;
    QRect window;
};

// The engine's drawing target for one page; holds the page's fonts.
class TQtFormCanvas : public TFormCanvas {
public:
    explicit TQtFormCanvas(TQtFormPage& page);

    void SetWindow(TFormPoint origin, TFormPoint extent) override;
    void Replay(const TFormTemplate& form, size_t record) override;
    void DrawText(const TFormFont& font, int32_t x, int32_t y, TFormAlign align,
                  const std::string& text, uint32_t textColor, uint32_t backColor, bool clip,
                  const TFormRect& clipRect) override;
    void FillRect(const TFormRect& rect, uint32_t color) override;
    void Rectangle(const TFormRect& rect, uint32_t fill) override;
    void Ellipse(const TFormRect& rect, uint32_t fill) override;
    void Line(TFormPoint from, TFormPoint to, int32_t penWidth, uint32_t color) override;

private:
    using TFontKey = std::tuple<int32_t, int32_t, bool, std::string>;
    TQtFormPage& page;
    std::map<TFontKey, QFont> fonts;

    const QFont& FontFor(const TFormFont& font);
};

// Builds pages `first` to `last` of `report` and paints each on its own sheet of `device` at the
// report's true size, centred on the printable area. Returns FormOk or the status of the page
// that failed to build, which ends the job.
int PaintFormPages(CFWEngine& report, TTemplateLoader& loader, QPagedPaintDevice& device,
                   QPainter& painter, int first, int last);
