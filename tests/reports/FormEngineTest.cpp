#include "reports/FormEngine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <new>

#include "app/QuilletConfig.h"
#include "core/SettingsList.h"
#include "reports/FormPreview.h"

namespace {

using Kind = TTemplateRecordKind;

TTemplateRecord Record(Kind kind, std::vector<TFormPoint> points) {
    return {kind, points};
}

class TMemoryLoader : public TTemplateLoader {
public:
    std::map<uint16_t, std::shared_ptr<const TFormTemplate>> resources;
    std::map<std::string, std::shared_ptr<const TFormTemplate>> files;
    bool outOfMemory = false;

    int LoadResource(uint16_t id, std::shared_ptr<const TFormTemplate>& out) override {
        if (outOfMemory) throw std::bad_alloc();
        auto it = resources.find(id);
        if (it == resources.end()) return FormNoResource;
        out = it->second;
        return FormOk;
    }
    int LoadFile(const std::string& name, std::shared_ptr<const TFormTemplate>& out) override {
        auto it = files.find(name);
        if (it == files.end()) return FormFileFailed;
        out = it->second;
        return FormOk;
    }
};

// A report whose answers the test sets; it remembers every question.
class TFakeReport : public TFormData {
public:
    TTemplateRef ref;
    std::function<void(int field, TFormFieldInfo&)> field = [](int, TFormFieldInfo&) {};
    std::function<void(int row, int col, TFormFieldInfo&)> cell = [](int, int, TFormFieldInfo&) {};
    std::vector<int> fieldsAsked;
    std::vector<TFormRect> cellsAsked;
    std::string title = "Fake Report";
    std::vector<std::string> events;

    void GetTemplate(int, TTemplateRef& r) override { r = ref; }
    void GetField(int, int n, TFormFieldInfo& info) override {
        fieldsAsked.push_back(n);
        field(n, info);
    }
    void GetCell(int, int, int row, int col, TFormFieldInfo& info) override {
        cellsAsked.push_back({info.left, info.top, info.right, info.bottom});
        cell(row, col, info);
    }
    int GetPageCount() override { return 1; }
    void GetTitle(char* buffer, size_t size) override {
        std::snprintf(buffer, size, "%s", title.c_str());
    }
    void BeforePrint() override { events.push_back("before"); }
    void AfterPrint() override { events.push_back("after"); }
};

// A template of one record per field: a rectangle with the given corners.
std::shared_ptr<TFormTemplate> Fields(std::initializer_list<TFormRect> fields) {
    auto form = std::make_shared<TFormTemplate>();
    for (TFormRect r : fields)
        form->records.push_back(Record(Kind::Rectangle, {{r.left, r.top}, {r.right, r.bottom}}));
    return form;
}

std::vector<TFormOp> OpsOf(const TFormRecording& page, TFormOp::Kind kind) {
    std::vector<TFormOp> found;
    for (const TFormOp& op : page.ops) {
        if (op.kind == kind) found.push_back(op);
    }
    return found;
}

class FormEngineTest : public ::testing::Test {
protected:
    TMemoryLoader loader;
    TFakeReport report;

    // Serves the form as resource 100 and points the report at it.
    void Serve(std::shared_ptr<TFormTemplate> form) {
        loader.resources[100] = std::move(form);
        report.ref.resource = 100;
    }
    TFormRecording Build() {
        TFormRecording page;
        EXPECT_EQ(report.BuildPage(1, loader, page), FormOk);
        return page;
    }
};

}  // namespace

TEST_F(FormEngineTest, FieldsAreAxisAlignedOutlinesInTemplateOrder) {
    auto form = std::make_shared<TFormTemplate>();
    form->records = {
        Record(Kind::WindowOrigin, {{0, 0}}),
        Record(Kind::WindowExtent, {{2550, 3300}}),
        Record(Kind::Other, {}),
        Record(Kind::Rectangle, {{400, 300}, {100, 200}}),  // corners in any order
        // A closed 5-point outline: the first point repeats the last and is skipped.
        Record(Kind::Polyline, {{10, 10}, {50, 10}, {50, 90}, {10, 90}, {10, 10}}),
        Record(Kind::Polygon, {{5, 5}, {25, 5}, {25, 45}, {5, 45}}),
        // A diagonal step among the four points: an ordinary drawing.
        Record(Kind::Polyline, {{0, 0}, {100, 0}, {60, 50}, {0, 50}, {0, 0}}),
        Record(Kind::Polygon, {{0, 0}, {10, 0}, {10, 10}}),
    };
    Serve(form);
    report.field = [](int n, TFormFieldInfo& info) {
        if (n == 1) info.type = FieldTemplateRect;
        if (n == 2) info.type = FieldNothing;
    };
    TFormRecording page = Build();

    const std::vector<TFormRect> fields{{100, 200, 400, 300}, {10, 10, 50, 90}, {5, 5, 25, 45}};
    EXPECT_EQ(report.PageFields(), fields);
    EXPECT_EQ(report.fieldsAsked, (std::vector<int>{1, 2, 3}));
    // Window records set the window; the first field is replayed, the second (type 64) and the
    // third (type 0) leave no trace; records that are not fields pass through.
    std::vector<size_t> replayed;
    for (const TFormOp& op : OpsOf(page, TFormOp::Replay))
        replayed.push_back(op.record);
    EXPECT_EQ(replayed, (std::vector<size_t>{2, 3, 6, 7}));
    auto windows = OpsOf(page, TFormOp::Window);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[1].a, (TFormPoint{0, 0}));
    EXPECT_EQ(windows[1].b, (TFormPoint{2550, 3300}));
    EXPECT_EQ(page.ops.size(), 6u);
}

TEST_F(FormEngineTest, TableSplitsWeightsAndTrimmedRowsAndDrawsRules) {
    Serve(Fields({{100, 0, 1000, 3010}}));  // 10 units more than 40 rows need
    const char layout[] = {3, 50, 20, 20, 40, 2};
    report.field = [&](int, TFormFieldInfo& info) {
        info.type = FieldTable;
        info.flags = TableVertical | TableHorizontal;
        info.text = layout;
    };
    report.cell = [](int row, int col, TFormFieldInfo& info) {
        info.type = FieldText;
        info.text = "x";
        if (row == 1) info.backColor = FormRGB(196, 196, 196);
        if (row == 2 && col == 3) info.left += 20;  // a cell the report places itself
    };
    TFormRecording page = Build();

    ASSERT_EQ(report.cellsAsked.size(), 120u);
    EXPECT_EQ((std::vector<TFormRect>(report.cellsAsked.begin(), report.cellsAsked.begin() + 3)),
              (std::vector<TFormRect>{{100, 0, 600, 75}, {600, 0, 800, 75}, {800, 0, 1000, 75}}));
    EXPECT_EQ(report.cellsAsked[119], (TFormRect{800, 2925, 1000, 3000}));

    auto fills = OpsOf(page, TFormOp::Fill);
    ASSERT_EQ(fills.size(), 3u);  // the header row's background
    EXPECT_EQ(fills[2].rect, (TFormRect{800, 0, 1000, 75}));
    auto texts = OpsOf(page, TFormOp::Text);
    ASSERT_EQ(texts.size(), 120u);
    EXPECT_EQ(texts[0].rect, (TFormRect{109, 9, 591, 66}));  // inset by 75 / 8
    EXPECT_EQ(texts[0].font.height, 45);                     // (66 - 9) * 4 / 5
    EXPECT_EQ(texts[0].a, (TFormPoint{109, 66}));
    EXPECT_EQ(texts[5].rect, (TFormRect{820, 75, 1000, 150}));  // left as the report set it

    // Border (4), 39 row rules and 2 column rules, all with the layout's pen.
    auto lines = OpsOf(page, TFormOp::Line);
    ASSERT_EQ(lines.size(), 45u);
    for (const TFormOp& line : lines)
        EXPECT_EQ(line.penWidth, 2);
    EXPECT_EQ(lines[2].a, (TFormPoint{1000, 3000}));  // the border ends at the trimmed bottom
    EXPECT_EQ(lines[4].a, (TFormPoint{100, 75}));
    EXPECT_EQ(lines[4].b, (TFormPoint{1000, 75}));
    EXPECT_EQ(lines[43].a, (TFormPoint{600, 0}));
    EXPECT_EQ(lines[44].b, (TFormPoint{800, 3000}));
}

TEST_F(FormEngineTest, TableRuleFlagsAndUnusableLayouts) {
    Serve(Fields({{0, 0, 100, 100}}));
    std::string layout = {2, 1, 1, 4, 7};
    uint32_t flags = 0;
    report.field = [&](int, TFormFieldInfo& info) {
        info.type = FieldTable;
        info.flags = flags;
        info.text = layout.data();
    };
    auto build = [&] {
        report.cellsAsked.clear();
        return Build();
    };

    flags = TableHorizontal | TableVertical | TableReplayRect | TableCurrentPen;
    TFormRecording page = build();
    auto lines = OpsOf(page, TFormOp::Line);
    EXPECT_EQ(lines.size(), 4u);  // 3 row rules, 1 column rule, no border
    EXPECT_EQ(lines[0].penWidth, -1);
    EXPECT_EQ(page.ops.back().kind, TFormOp::Replay);

    flags = TableHorizontal;
    EXPECT_EQ(OpsOf(build(), TFormOp::Line).size(), 3u);
    flags = 0;
    EXPECT_TRUE(build().ops.empty());
    EXPECT_EQ(report.cellsAsked.size(), 8u);

    layout = {2, 1, 1, 0, 7};  // no rows
    EXPECT_TRUE(build().ops.empty());
    layout = {2, 0, 0, 4, 7};  // no width to share
    EXPECT_TRUE(build().ops.empty());
    EXPECT_TRUE(report.cellsAsked.empty());
}

TEST_F(FormEngineTest, TextFontAlignmentAndColours) {
    Serve(Fields({{100, 200, 500, 300}}));
    uint32_t flags = 0;
    report.field = [&](int, TFormFieldInfo& info) {
        info.type = FieldText;
        info.flags = flags;
        info.text = "Total";
        info.textColor = FormRGB(0, 0, 255);
        info.backColor = FormRGB(255, 255, 0);
    };
    auto text = [&] {
        TFormRecording page = Build();
        EXPECT_EQ(page.ops.size(), 1u);
        return page.ops.empty() ? TFormOp{} : page.ops[0];
    };

    flags = 68;
    TFormOp op = text();
    EXPECT_EQ(op.font, (TFormFont{80, 700, false, "Tahoma"}));
    EXPECT_EQ(op.align, TFormAlign::Centre);
    EXPECT_EQ(op.a, (TFormPoint{300, 300}));
    EXPECT_EQ(op.color, FormRGB(0, 0, 255));
    EXPECT_EQ(op.backColor, 0u);  // opaque only with flag 16
    EXPECT_FALSE(op.clip);

    flags = 2;
    op = text();
    EXPECT_TRUE(op.align == TFormAlign::Right && op.a == (TFormPoint{500, 300}));
    EXPECT_EQ(op.font.weight, 400);

    flags = TextBaseline | TextItalic | TextOpaque | TextClip;
    op = text();
    EXPECT_EQ(op.font, (TFormFont{-80, 400, true, "Tahoma"}));
    EXPECT_EQ(op.align, TFormAlign::Left);
    EXPECT_EQ(op.a, (TFormPoint{100, 300}));
    EXPECT_EQ(op.backColor, FormRGB(255, 255, 0));
    EXPECT_TRUE(op.clip);
    EXPECT_EQ(op.rect, (TFormRect{100, 200, 500, 300}));

    report.field = [](int, TFormFieldInfo& info) {
        info.type = FieldText;
        info.face = "Courier New";
        info.text = "a";
    };
    EXPECT_EQ(text().font.face, "Courier New");
}

TEST_F(FormEngineTest, CheckBoxesAndRadioMarks) {
    Serve(
        Fields({{0, 0, 20, 20}, {100, 100, 140, 140}, {200, 200, 260, 260}, {300, 300, 320, 320}}));
    report.field = [](int n, TFormFieldInfo& info) {
        info.type = n <= 2 ? FieldCheckBox : FieldRadio;
        info.flags = n == 2 ? (MarkChecked | MarkShadow) : MarkChecked;
    };
    TFormRecording page = Build();

    auto lines = OpsOf(page, TFormOp::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].penWidth, 3);  // 20 wide: narrower than 31
    EXPECT_EQ(lines[1].a, (TFormPoint{20, 0}));
    EXPECT_EQ(lines[1].b, (TFormPoint{0, 20}));
    EXPECT_EQ(lines[2].penWidth, 4);  // 40 wide
    auto fills = OpsOf(page, TFormOp::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (TFormRect{110, 110, 150, 150}));
    EXPECT_EQ(fills[0].color, FormBlack);
    EXPECT_EQ(page.ops[3].kind, TFormOp::Fill);  // the shadow goes under the box
    EXPECT_EQ(page.ops[4].rect, (TFormRect{100, 100, 140, 140}));
    EXPECT_EQ(page.ops[4].color, FormWhite);

    auto ellipses = OpsOf(page, TFormOp::Ellipse);
    ASSERT_EQ(ellipses.size(), 4u);
    EXPECT_EQ(ellipses[1].rect, (TFormRect{206, 206, 254, 254}));
    EXPECT_EQ(ellipses[1].color, FormBlack);
    EXPECT_EQ(ellipses[3].rect, (TFormRect{303, 303, 317, 317}));
}

TEST_F(FormEngineTest, TemplateSourcesAndStatuses) {
    auto fromResource = Fields({{0, 0, 10, 10}});
    auto fromFile = Fields({{0, 0, 20, 20}});
    auto held = Fields({{0, 0, 30, 30}});
    loader.resources[100] = fromResource;
    loader.files["form.svg"] = fromFile;
    report.field = [](int, TFormFieldInfo& info) { info.type = FieldTemplateRect; };
    auto build = [&](int expected) {
        TFormRecording page;
        EXPECT_EQ(report.BuildPage(1, loader, page), expected);
        return page.ops.empty() ? nullptr : page.ops[0].form;
    };

    // A resource comes first, then a held template, then a file.
    report.ref = {100, held, "form.svg"};
    EXPECT_EQ(build(FormOk), fromResource.get());
    report.ref = {0, held, "form.svg"};
    EXPECT_EQ(build(FormOk), held.get());
    report.ref = {0, nullptr, "form.svg"};
    EXPECT_EQ(build(FormOk), fromFile.get());

    report.fieldsAsked.clear();
    report.ref = {101, held, "form.svg"};  // a missing resource does not fall back
    EXPECT_EQ(build(FormNoResource), nullptr);
    report.ref = {0, nullptr, "missing.svg"};
    EXPECT_EQ(build(FormFileFailed), nullptr);
    report.ref = {};
    EXPECT_EQ(build(FormNoResource), nullptr);
    loader.outOfMemory = true;
    report.ref = {100, nullptr, ""};
    EXPECT_EQ(build(FormNoMemory), nullptr);
    EXPECT_TRUE(report.fieldsAsked.empty());
}

TEST_F(FormEngineTest, KeptPageIsPlayedAgainWithoutAskingTheReport) {
    // An engine keeps its last page only when built to; reports do not.
    struct TKeeper : public CFWEngine {
        TKeeper() : CFWEngine(true) {}
        int asked = 0;
        void GetTemplate(int, TTemplateRef& r) override { r.resource = 100; }
        void GetField(int, int, TFormFieldInfo& info) override {
            ++asked;
            info.type = FieldText;
            info.text = "kept";
        }
        void GetCell(int, int, int, int, TFormFieldInfo&) override {}
        int Print(TFormPrinter&) override { return 0; }
        int GetPageCount() override { return 2; }
        void GetTitle(char*, size_t) override {}
        void GetPageSize(int& w, int& h) override { w = h = 0; }
    } engine;
    loader.resources[100] = Fields({{0, 0, 100, 50}});

    TFormRecording first, again, other;
    ASSERT_EQ(engine.BuildPage(1, loader, first), FormOk);
    loader.resources.clear();  // the kept page needs no template load
    ASSERT_EQ(engine.BuildPage(1, loader, again), FormOk);
    EXPECT_EQ(engine.asked, 1);
    ASSERT_EQ(again.ops.size(), 1u);
    EXPECT_EQ(again.ops[0].text, "kept");
    EXPECT_EQ(engine.BuildPage(2, loader, other), FormNoResource);
}

TEST_F(FormEngineTest, PrintPassesTheTitleBetweenTheHooks) {
    class TRecordingPrinter : public TFormPrinter {
    public:
        std::vector<std::string>* events = nullptr;
        std::string title;
        int PrintForm(const std::string& t, CFWEngine&) override {
            title = t;
            events->push_back("print");
            return FormNoResource;
        }
    } printer;
    printer.events = &report.events;
    report.title = std::string(200, 'T');

    EXPECT_EQ(report.Print(printer), FormNoResource);
    EXPECT_EQ(printer.title, std::string(128, 'T'));
    EXPECT_EQ(report.events, (std::vector<std::string>{"before", "print", "after"}));
    int w = 0, h = 0;
    report.GetPageSize(w, h);
    EXPECT_EQ(w * 1000 + h, 216279);
}

TEST_F(FormEngineTest, PagePlacementAndPreviewSize) {
    // 10 pixels to the millimetre both ways: a 50 x 100 mm page centred on 100 x 200 mm.
    EXPECT_EQ(PlacePage(1000, 2000, 100.0, 200.0, 50, 100), (TFormRect{250, 500, 750, 1500}));
    // A page larger than the printable area overhangs it evenly.
    EXPECT_EQ(PlacePage(1000, 1000, 100.0, 100.0, 120, 100), (TFormRect{-100, 0, 1100, 1000}));
    EXPECT_EQ(PlacePage(1000, 2000, 100.0, 200.0, 0, 100), (TFormRect{0, 0, 1000, 2000}));

    EXPECT_EQ(PreviewSize(TFixedScreen(1920, 1080), nullptr), (TPreviewSize{1440, 810}));
    EXPECT_EQ(PreviewSize(TFixedScreen(1000, 600), nullptr), (TPreviewSize{780, 520}));
    TSettingsList settings;
    settings.SetInt("Preview.Width", 900);
    settings.SetInt("Preview.Height", -5);
    EXPECT_EQ(PreviewSize(TFixedScreen(1920, 1080), &settings), (TPreviewSize{900, 810}));
    StorePreviewSize(&settings, {1000, 700});
    EXPECT_EQ(settings.GetInt("Preview.Height", 0), 700);
    EXPECT_EQ(PreviewSize(TFixedScreen(), &settings), (TPreviewSize{1000, 700}));
}
