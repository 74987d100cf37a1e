#include "reports/FormEngine.h"

#include <algorithm>
#include <new>

namespace {

constexpr int32_t ThinBox = 31;  // marks narrower than this get a fixed 3-unit pen or inset

TFormRect Normalised(TFormPoint a, TFormPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// A closed outline drawn as 4 points, or as 5 whose first repeats the last, is a field when each
// step between consecutive points of the four runs along an axis.
bool FieldOutline(const std::vector<TFormPoint>& points, TFormRect& box) {
    if (points.size() != 4 && points.size() != 5) return false;
    const TFormPoint* p = points.data() + (points.size() - 4);
    for (int i = 0; i < 3; ++i) {
        if (p[i].x != p[i + 1].x && p[i].y != p[i + 1].y) return false;
    }
    box = {p[0].x, p[0].y, p[0].x, p[0].y};
    for (int i = 1; i < 4; ++i) {
        box.left = std::min(box.left, p[i].x);
        box.top = std::min(box.top, p[i].y);
        box.right = std::max(box.right, p[i].x);
        box.bottom = std::max(box.bottom, p[i].y);
    }
    return true;
}

TFormRect RectOf(const TFormFieldInfo& info) {
    return {info.left, info.top, info.right, info.bottom};
}

void SetRect(TFormFieldInfo& info, const TFormRect& r) {
    info.left = r.left;
    info.top = r.top;
    info.right = r.right;
    info.bottom = r.bottom;
}

// Draws on the target and keeps a copy of every call, for an engine that keeps its last page.
class TTeeCanvas : public TFormCanvas {
public:
    TTeeCanvas(TFormCanvas& first, TFormCanvas& second) : a(first), b(second) {}
    void SetWindow(TFormPoint origin, TFormPoint extent) override {
        a.SetWindow(origin, extent);
        b.SetWindow(origin, extent);
    }
    void Replay(const TFormTemplate& form, size_t record) override {
        a.Replay(form, record);
        b.Replay(form, record);
    }
    void DrawText(const TFormFont& font, int32_t x, int32_t y, TFormAlign align,
                  const std::string& text, uint32_t textColor, uint32_t backColor, bool clip,
                  const TFormRect& clipRect) override {
        a.DrawText(font, x, y, align, text, textColor, backColor, clip, clipRect);
        b.DrawText(font, x, y, align, text, textColor, backColor, clip, clipRect);
    }
    void FillRect(const TFormRect& rect, uint32_t color) override {
        a.FillRect(rect, color);
        b.FillRect(rect, color);
    }
    void Rectangle(const TFormRect& rect, uint32_t fill) override {
        a.Rectangle(rect, fill);
        b.Rectangle(rect, fill);
    }
    void Ellipse(const TFormRect& rect, uint32_t fill) override {
        a.Ellipse(rect, fill);
        b.Ellipse(rect, fill);
    }
    void Line(TFormPoint from, TFormPoint to, int32_t penWidth, uint32_t color) override {
        a.Line(from, to, penWidth, color);
        b.Line(from, to, penWidth, color);
    }

private:
    TFormCanvas& a;
    TFormCanvas& b;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The recording canvas

void TFormRecording::PlayInto(TFormCanvas& target) const {
    for (const TFormOp& op : ops) {
        switch (op.kind) {
            case TFormOp::Window:
                target.SetWindow(op.a, op.b);
                break;
            case TFormOp::Replay:
                target.Replay(*op.form, op.record);
                break;
            case TFormOp::Text:
                target.DrawText(op.font, op.a.x, op.a.y, op.align, op.text, op.color, op.backColor,
                                op.clip, op.rect);
                break;
            case TFormOp::Fill:
                target.FillRect(op.rect, op.color);
                break;
            case TFormOp::Rectangle:
                target.Rectangle(op.rect, op.color);
                break;
            case TFormOp::Ellipse:
                target.Ellipse(op.rect, op.color);
                break;
            case TFormOp::Line:
                target.Line(op.a, op.b, op.penWidth, op.color);
                break;
        }
    }
}

void TFormRecording::SetWindow(TFormPoint origin, TFormPoint extent) {
    TFormOp op;
    op.kind = TFormOp::Window;
    op.a = origin;
    op.b = extent;
    ops.push_back(std::move(op));
}

void TFormRecording::Replay(const TFormTemplate& form, size_t record) {
    TFormOp op;
    op.kind = TFormOp::Replay;
    op.form = &form;
    op.record = record;
    ops.push_back(std::move(op));
}

void TFormRecording::DrawText(const TFormFont& font, int32_t x, int32_t y, TFormAlign align,
                              const std::string& text, uint32_t textColor, uint32_t backColor,
                              bool clip, const TFormRect& clipRect) {
    TFormOp op;
    op.kind = TFormOp::Text;
    op.font = font;
    op.a = {x, y};
    op.align = align;
    op.text = text;
    op.color = textColor;
    op.backColor = backColor;
    op.clip = clip;
    op.rect = clipRect;
    ops.push_back(std::move(op));
}

namespace {

TFormOp ShapeOp(TFormOp::Kind kind, const TFormRect& rect, uint32_t color) {
    TFormOp op;
    op.kind = kind;
    op.rect = rect;
    op.color = color;
    return op;
}

}  // namespace

void TFormRecording::FillRect(const TFormRect& rect, uint32_t color) {
    ops.push_back(ShapeOp(TFormOp::Fill, rect, color));
}

void TFormRecording::Rectangle(const TFormRect& rect, uint32_t fill) {
    ops.push_back(ShapeOp(TFormOp::Rectangle, rect, fill));
}

void TFormRecording::Ellipse(const TFormRect& rect, uint32_t fill) {
    ops.push_back(ShapeOp(TFormOp::Ellipse, rect, fill));
}

void TFormRecording::Line(TFormPoint from, TFormPoint to, int32_t penWidth, uint32_t color) {
    TFormOp op;
    op.kind = TFormOp::Line;
    op.a = from;
    op.b = to;
    op.penWidth = penWidth;
    op.color = color;
    ops.push_back(std::move(op));
}

// ---------------------------------------------------------------------------------------------
// The engine

struct CFWEngine::Imp {
    bool keepLastPage = false;
    int page = 0;                   // the page being built
    int field = 0;                  // the running field number
    std::vector<TFormRect> fields;  // field rectangles met on this page
    TFormPoint windowOrigin;
    TFormPoint windowExtent;
    // The kept page: its calls, and the template its replays refer to.
    std::unique_ptr<TFormRecording> keptPage;
    std::shared_ptr<const TFormTemplate> keptTemplate;
    int keptNumber = 0;
};

namespace {

// One page build: walks the template and fills each field from the report's answers.
class TPageBuilder {
public:
    TPageBuilder(CFWEngine& r, int p, std::vector<TFormRect>& f, int& n, TFormPoint& o,
                 TFormPoint& e, const TFormTemplate& t, TFormCanvas& c)
        : report(r), page(p), fields(f), field(n), origin(o), extent(e), form(t), out(c) {}

    void Run() {
        for (size_t i = 0; i < form.records.size(); ++i) {
            const TTemplateRecord& rec = form.records[i];
            TFormRect box;
            switch (rec.kind) {
                case TTemplateRecordKind::WindowOrigin:
                case TTemplateRecordKind::WindowExtent:
                    if (rec.points.empty()) break;
                    (rec.kind == TTemplateRecordKind::WindowOrigin ? origin : extent) =
                        rec.points[0];
                    out.SetWindow(origin, extent);
                    break;
                case TTemplateRecordKind::Rectangle:
                    if (rec.points.size() >= 2) {
                        Field(Normalised(rec.points[0], rec.points[1]), i);
                    } else {
                        out.Replay(form, i);
                    }
                    break;
                case TTemplateRecordKind::Polyline:
                case TTemplateRecordKind::Polygon:
                    if (FieldOutline(rec.points, box)) {
                        Field(box, i);
                    } else {
                        out.Replay(form, i);
                    }
                    break;
                case TTemplateRecordKind::Other:
                    out.Replay(form, i);
                    break;
            }
        }
    }

private:
    CFWEngine& report;
    int page;
    std::vector<TFormRect>& fields;
    int& field;
    TFormPoint& origin;
    TFormPoint& extent;
    const TFormTemplate& form;
    TFormCanvas& out;

    TFormFieldInfo Fresh(const TFormRect& rect) {
        TFormFieldInfo info;
        info.target = &out;
        SetRect(info, rect);
        return info;
    }

    void Field(const TFormRect& rect, size_t record) {
        if (fields.size() == fields.capacity()) fields.reserve(fields.size() + 50);
        fields.push_back(rect);
        ++field;
        TFormFieldInfo info = Fresh(rect);
        report.GetField(page, field, info);
        switch (info.type) {
            case FieldTemplateRect:
                out.Replay(form, record);
                break;
            case FieldText:
                Text(info, RectOf(info));
                break;
            case FieldCheckBox:
                CheckBox(info.flags, RectOf(info));
                break;
            case FieldRadio:
                Radio(info.flags, RectOf(info));
                break;
            case FieldTable:
                Table(info);
                if (info.flags & TableReplayRect) out.Replay(form, record);
                break;
            default:
                break;  // the field leaves no trace
        }
    }

    void Text(const TFormFieldInfo& info, const TFormRect& r) {
        if (!info.text || !*info.text) return;
        const uint32_t f = info.flags;
        const int32_t height = (r.bottom - r.top) * 4 / 5;
        TFormFont font;
        font.height = (f & TextBaseline) ? -height : height;
        font.weight = (f & TextBold) ? 700 : 400;
        font.italic = (f & TextItalic) != 0;
        if (info.face) font.face = info.face;
        TFormAlign align = TFormAlign::Left;
        int32_t x = r.left;
        if (f & TextCentre) {
            align = TFormAlign::Centre;
            x = (r.left + r.right) / 2;
        } else if (f & TextRight) {
            align = TFormAlign::Right;
            x = r.right;
        }
        const uint32_t back = (f & TextOpaque) ? info.backColor : 0;
        out.DrawText(font, x, r.bottom, align, info.text, info.textColor, back, (f & TextClip) != 0,
                     r);
    }

    void CheckBox(uint32_t f, const TFormRect& r) {
        const int32_t w = r.right - r.left;
        const int32_t h = r.bottom - r.top;
        if (f & MarkShadow) {
            out.FillRect({r.left + w / 4, r.top + h / 4, r.right + w / 4, r.bottom + h / 4},
                         FormBlack);
        }
        out.Rectangle(r, FormWhite);
        if (f & MarkChecked) {
            const int32_t pen = w < ThinBox ? 3 : w / 10;
            out.Line({r.left, r.top}, {r.right, r.bottom}, pen, FormBlack);
            out.Line({r.right, r.top}, {r.left, r.bottom}, pen, FormBlack);
        }
    }

    void Radio(uint32_t f, const TFormRect& r) {
        out.Ellipse(r, FormWhite);
        if (f & MarkChecked) {
            const int32_t w = r.right - r.left;
            const int32_t inset = w < ThinBox ? 3 : w / 10;
            out.Ellipse({r.left + inset, r.top + inset, r.right - inset, r.bottom - inset},
                        FormBlack);
        }
    }

    void Table(const TFormFieldInfo& info) {
        const auto* layout = reinterpret_cast<const uint8_t*>(info.text);
        if (!layout) return;
        const int columns = layout[0];
        if (columns == 0) return;
        const uint8_t* weights = layout + 1;
        const int rows = layout[columns + 1];
        const int32_t pen = (info.flags & TableCurrentPen) ? -1 : layout[columns + 2];
        int weightSum = 0;
        for (int c = 0; c < columns; ++c)
            weightSum += weights[c];
        if (rows == 0 || weightSum == 0) return;  // no layout to follow

        const int32_t l = info.left, t = info.top, r = info.right;
        const int32_t h = (info.bottom - t) / rows;
        const int32_t b = t + h * rows;  // trimmed to whole rows
        const double unit = double(r - l) / weightSum;
        std::vector<int32_t> edges(columns + 1);
        int before = 0;
        for (int c = 0; c < columns; ++c) {
            edges[c] = l + static_cast<int32_t>(before * unit);
            before += weights[c];
        }
        edges[columns] = r;

        for (int row = 1; row <= rows; ++row) {
            for (int col = 1; col <= columns; ++col) {
                const TFormRect cell{edges[col - 1], t + (row - 1) * h, edges[col], t + row * h};
                TFormFieldInfo c = Fresh(cell);
                report.GetCell(page, field, row, col, c);
                const TFormRect given = RectOf(c);
                if (c.backColor) out.FillRect(given, c.backColor);
                switch (c.type) {
                    case FieldText:
                        if (given == cell) {
                            const int32_t in = h / 8;
                            Text(c, {cell.left + in, cell.top + in, cell.right - in,
                                     cell.bottom - in});
                        } else {
                            Text(c, given);
                        }
                        break;
                    case FieldCheckBox:
                        CheckBox(c.flags, given);
                        break;
                    case FieldRadio:
                        Radio(c.flags, given);
                        break;
                    default:
                        break;
                }
            }
        }

        const uint32_t f = info.flags;
        if (!(f & (TableVertical | TableHorizontal))) return;
        if ((f & TableVertical) && (f & TableHorizontal) && !(f & TableReplayRect)) {
            out.Line({l, t}, {r, t}, pen, FormBlack);
            out.Line({r, t}, {r, b}, pen, FormBlack);
            out.Line({r, b}, {l, b}, pen, FormBlack);
            out.Line({l, b}, {l, t}, pen, FormBlack);
        }
        if (f & TableHorizontal) {
            for (int row = 1; row < rows; ++row) {
                out.Line({l, t + row * h}, {r, t + row * h}, pen, FormBlack);
            }
        }
        if (f & TableVertical) {
            for (int col = 1; col < columns; ++col) {
                out.Line({edges[col], t}, {edges[col], b}, pen, FormBlack);
            }
        }
    }
};

}  // namespace

CFWEngine::CFWEngine(bool keepLastPage) : imp(std::make_unique<Imp>()) {
    imp->keepLastPage = keepLastPage;
}

CFWEngine::~CFWEngine() = default;

const std::vector<TFormRect>& CFWEngine::PageFields() const {
    return imp->fields;
}

int CFWEngine::BuildPage(int page, TTemplateLoader& loader, TFormCanvas& target) {
    Imp& m = *imp;
    if (m.keepLastPage && m.keptPage && m.keptNumber == page) {
        m.keptPage->PlayInto(target);
        return FormOk;
    }

    std::shared_ptr<const TFormTemplate> form;
    int status = FormNoResource;  // a reference that names nothing is a missing resource
    try {
        TTemplateRef ref;
        GetTemplate(page, ref);
        if (ref.resource != 0) {
            status = loader.LoadResource(ref.resource, form);
        } else if (ref.held) {
            form = ref.held;
            status = FormOk;
        } else if (!ref.fileName.empty()) {
            status = loader.LoadFile(ref.fileName, form);
        }
    } catch (const std::bad_alloc&) {
        status = FormNoMemory;
    }
    if (status != FormOk) return status;
    if (!form) return FormNoResource;

    m.page = page;
    m.field = 0;
    m.fields.clear();
    m.windowOrigin = {};
    m.windowExtent = {};
    if (m.keepLastPage) {
        auto kept = std::make_unique<TFormRecording>();
        TTeeCanvas both(target, *kept);
        TPageBuilder(*this, page, m.fields, m.field, m.windowOrigin, m.windowExtent, *form, both)
            .Run();
        m.keptPage = std::move(kept);
        m.keptTemplate = form;
        m.keptNumber = page;
    } else {
        TPageBuilder(*this, page, m.fields, m.field, m.windowOrigin, m.windowExtent, *form, target)
            .Run();
    }
    return FormOk;
}

// ---------------------------------------------------------------------------------------------
// Printing and placement

int TFormData::Print(TFormPrinter& printer) {
    char title[129] = {};
    GetTitle(title, sizeof title);
    title[sizeof title - 1] = '\0';
    BeforePrint();
    const int status = printer.PrintForm(title, *this);
    AfterPrint();
    return status;
}

TFormRect PlacePage(int printableWidthPx, int printableHeightPx, double printableWidthMm,
                    double printableHeightMm, int pageWidthMm, int pageHeightMm) {
    if (pageWidthMm == 0 || printableWidthMm <= 0 || printableHeightMm <= 0) {
        return {0, 0, printableWidthPx, printableHeightPx};
    }
    const double perMmX = printableWidthPx / printableWidthMm;
    const double perMmY = printableHeightPx / printableHeightMm;
    const auto width = static_cast<int32_t>(pageWidthMm * perMmX);
    const auto height = static_cast<int32_t>(pageHeightMm * perMmY);
    const int32_t left = (printableWidthPx - width) / 2;
    const int32_t top = (printableHeightPx - height) / 2;
    return {left, top, left + width, top + height};
}
