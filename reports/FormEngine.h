// The page engine: a page is a template (a picture whose axis-aligned rectangles are numbered
// fields) filled in by a report. The engine walks the template's records, passes every ordinary
// record through to the page and asks the report what to put in each field: text, a check box, a
// radio mark, a table of cells, the rectangle itself or nothing. All layout arithmetic lives here;
// drawing goes through TFormCanvas and templates come from TTemplateLoader, so the program draws
// with its painter and the tests with a recorder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A point in the template's logical units.
struct TFormPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const TFormPoint&) const = default;
};

struct TFormRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const TFormRect&) const = default;
};

// One drawing record of a template, as the loader read it.
enum class TTemplateRecordKind {
    WindowOrigin,  // points[0]: the logical origin the template sets
    WindowExtent,  // points[0]: the logical extent (width, height) the template sets
    Rectangle,     // points[0], points[1]: opposite corners
    Polyline,      // points: the vertices as drawn
    Polygon,       // points: the vertices as drawn
    Other,         // anything else; replayed as it stands
};

struct TTemplateRecord {
    TTemplateRecordKind kind = TTemplateRecordKind::Other;
    std::vector<TFormPoint> points;
};

// Whatever a loader keeps to replay a record (style, the original element); the canvas of the
// same toolkit knows the concrete type.
class TFormTemplateSource {
public:
    virtual ~TFormTemplateSource() = default;
};

// A loaded template: its records in drawing order.
struct TFormTemplate {
    std::vector<TTemplateRecord> records;
    std::shared_ptr<const TFormTemplateSource> source;
};

// Where a report's template comes from, tried in this order: a resource number, a template the
// caller already holds (used, never freed), a file name.
struct TTemplateRef {
    uint16_t resource = 0;
    std::shared_ptr<const TFormTemplate> held;
    std::string fileName;
};

// Page build statuses.
enum TFormStatus : int {
    FormOk = 0,
    FormNoMemory = 1,    // no memory for the template
    FormNoResource = 4,  // the template resource is missing or failed to load
    FormFileFailed = 5,  // the template file failed to open or to read
};

class TTemplateLoader {
public:
    virtual ~TTemplateLoader() = default;
    // FormOk with `out` set, or FormNoMemory / FormNoResource.
    virtual int LoadResource(uint16_t resource, std::shared_ptr<const TFormTemplate>& out) = 0;
    // FormOk with `out` set, or FormNoMemory / FormFileFailed.
    virtual int LoadFile(const std::string& fileName,
                         std::shared_ptr<const TFormTemplate>& out) = 0;
};

// Field types a report answers.
enum TFormFieldType : uint32_t {
    FieldTemplateRect = 1,  // draw the template's own rectangle unchanged
    FieldText = 2,
    FieldCheckBox = 4,
    FieldRadio = 8,
    FieldTable = 16,
    FieldNothing = 64,  // any value but the above draws nothing, not even the rectangle
};

// Flags of a text field.
enum TFormTextFlags : uint32_t {
    TextRight = 2,
    TextCentre = 4,
    TextClip = 8,
    TextOpaque = 16,    // paint the background colour behind the text
    TextBaseline = 32,  // height is a character height; text sits on its baseline
    TextBold = 64,
    TextItalic = 128,
};

// Flags of a check box or radio mark.
enum TFormMarkFlags : uint32_t {
    MarkChecked = 1,
    MarkShadow = 2,  // check box only: a solid black shadow
};

// Flags of a table.
enum TFormTableFlags : uint32_t {
    TableReplayRect = 1,  // also replay the template's rectangle; suppresses the outer border
    TableVertical = 2,    // vertical rules at every inner column edge
    TableHorizontal = 4,  // horizontal rules between rows
    TableCurrentPen = 8,  // rules with the target's current pen, not a solid black one
};

class TFormCanvas;

// One field or table cell, cleared before each question; the engine fills in the target and the
// rectangle, the report the rest.
struct TFormFieldInfo {
    uint32_t type = 0;
    uint32_t flags = 0;
    // Text: zero-terminated Windows-1252. Table: the layout bytes (column count N, N weights,
    // row count, pen width), owned by the report for the duration of the page.
    const char* text = nullptr;
    const char* face = nullptr;  // null: "Tahoma"
    uint32_t textColor = 0;      // 0x00BBGGRR; 0 leaves the target's colour
    uint32_t backColor = 0;      // 0x00BBGGRR; 0 means none
    TFormCanvas* target = nullptr;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

constexpr uint32_t FormRGB(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint32_t FormBlack = FormRGB(0, 0, 0);
constexpr uint32_t FormWhite = FormRGB(255, 255, 255);

// A font as the engine asks for it; the canvas keeps one per distinct description for the page.
struct TFormFont {
    int32_t height = 0;    // logical units; negative: a character height (baseline text)
    int32_t weight = 400;  // 400 or 700
    bool italic = false;
    std::string face = "Tahoma";
    bool operator==(const TFormFont&) const = default;
};

enum class TFormAlign { Left, Centre, Right };

// The drawing target of one page, in the template's logical units.
class TFormCanvas {
public:
    virtual ~TFormCanvas() = default;
    // The logical window the template set; the canvas maps it onto the page. Called each time
    // the template sets its origin or its extent, with the latest of both; an extent with a zero
    // side has not been set yet.
    virtual void SetWindow(TFormPoint origin, TFormPoint extent) = 0;
    // Draws a template record as it stands.
    virtual void Replay(const TFormTemplate& form, size_t record) = 0;
    // Text anchored at (x, y): x is the left, centre or right point by `align`; y is the bottom
    // of the cell, or the baseline when the font's height is negative. `textColor` 0 keeps the
    // canvas's colour; `backColor` non-zero paints the text's background opaque. With `clip`
    // the text is clipped to `clipRect`.
    virtual void DrawText(const TFormFont& font, int32_t x, int32_t y, TFormAlign align,
                          const std::string& text, uint32_t textColor, uint32_t backColor,
                          bool clip, const TFormRect& clipRect) = 0;
    virtual void FillRect(const TFormRect& rect, uint32_t color) = 0;
    // A rectangle or ellipse with a thin black border, filled with `fill` (white or black).
    virtual void Rectangle(const TFormRect& rect, uint32_t fill) = 0;
    virtual void Ellipse(const TFormRect& rect, uint32_t fill) = 0;
    // A straight line in `color`, `penWidth` logical units wide; 0 is the thinnest line the
    // device draws, and a negative width uses the canvas's current pen.
    virtual void Line(TFormPoint from, TFormPoint to, int32_t penWidth, uint32_t color) = 0;
};

// One drawing call as TFormRecording keeps it.
struct TFormOp {
    enum Kind { Window, Replay, Text, Fill, Rectangle, Ellipse, Line };
    Kind kind = Window;
    TFormPoint a;    // Window: origin; Text: anchor; Line: start
    TFormPoint b;    // Window: extent; Line: end
    TFormRect rect;  // Fill, Rectangle, Ellipse: the shape; Text: the clip rectangle
    const TFormTemplate* form = nullptr;  // Replay
    size_t record = 0;                    // Replay
    TFormFont font;                       // Text
    TFormAlign align = TFormAlign::Left;  // Text
    std::string text;                     // Text
    uint32_t color = 0;                   // Text, Fill, Rectangle, Ellipse (the fill), Line
    uint32_t backColor = 0;               // Text
    bool clip = false;                    // Text
    int32_t penWidth = 0;                 // Line
};

// A canvas that keeps the calls made on it, to be played into another canvas later: the kept
// page of an engine that keeps its last page, and the tests' view of a page. Replay calls refer
// to their template by address; whoever keeps the recording keeps the template alive.
class TFormRecording : public TFormCanvas {
public:
    std::vector<TFormOp> ops;

    void PlayInto(TFormCanvas& target) const;

    void SetWindow(TFormPoint origin, TFormPoint extent) override;
    void Replay(const TFormTemplate& form, size_t record) override;
    void DrawText(const TFormFont& font, int32_t x, int32_t y, TFormAlign align,
                  const std::string& text, uint32_t textColor, uint32_t backColor, bool clip,
                  const TFormRect& clipRect) override;
    void FillRect(const TFormRect& rect, uint32_t color) override;
    void Rectangle(const TFormRect& rect, uint32_t fill) override;
    void Ellipse(const TFormRect& rect, uint32_t fill) override;
    void Line(TFormPoint from, TFormPoint to, int32_t penWidth, uint32_t color) override;
};

class CFWEngine;

// The printer side: the program prints through the system's print dialog, the console program
// into a PDF. It builds each page of the report with CFWEngine::BuildPage into a canvas over the
// printed page, placed with PlacePage.
class TFormPrinter {
public:
    virtual ~TFormPrinter() = default;
    // Prints pages 1 to the report's page count under `title`; returns a TFormStatus (a page that
    // fails to build stops the job with its status) or -1 when the user cancelled.
    virtual int PrintForm(const std::string& title, CFWEngine& report) = 0;
};

// Where a page of `pageWidthMm` x `pageHeightMm` lands on the printable area: at true size,
// centred, from the printable area's size in pixels and millimetres; a zero page width fills the
// printable area.
TFormRect PlacePage(int printableWidthPx, int printableHeightPx, double printableWidthMm,
                    double printableHeightMm, int pageWidthMm, int pageHeightMm);

// The engine a report embeds; reports derive from TFormData.
class CFWEngine {
public:
    explicit CFWEngine(bool keepLastPage = false);
    virtual ~CFWEngine();
    CFWEngine(const CFWEngine&) = delete;
    CFWEngine& operator=(const CFWEngine&) = delete;

    // Report side, in slot order.
    virtual void GetTemplate(int page, TTemplateRef& ref) = 0;
    virtual void GetField(int page, int field, TFormFieldInfo& info) = 0;
    virtual void GetCell(int page, int field, int row, int column, TFormFieldInfo& info) = 0;
    virtual int Print(TFormPrinter& printer) = 0;
    virtual bool Query() { return false; }
    virtual int GetPageCount() = 0;
    virtual void GetTitle(char* buffer, size_t size) = 0;
    virtual void BeforePrint() {}
    virtual void AfterPrint() {}
    // Whole millimetres; width 0 fills the printable area.
    virtual void GetPageSize(int& width, int& height) = 0;

    // Builds page `page` into `target`; returns a TFormStatus. A template that fails to load
    // draws nothing. An engine that keeps its last page plays that page again when asked for
    // the same number, without asking the report.
    int BuildPage(int page, TTemplateLoader& loader, TFormCanvas& target);

    // The field rectangles of the page last built, in field order.
    const std::vector<TFormRect>& PageFields() const;

private:
    struct Imp;
    std::unique_ptr<Imp> imp;
};

// Base of every report: the print operation and a portrait US Letter sheet.
class TFormData : public CFWEngine {
public:
    TFormData() : CFWEngine(false) {}
    int Print(TFormPrinter& printer) override;
    void GetPageSize(int& width, int& height) override {
        width = 216;
        height = 279;
    }
};
