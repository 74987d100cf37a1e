#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "app/QuilletConfig.h"
#include "core/SettingsList.h"
#include "reports/FormEngine.h"
#include "reports/FormSizes.h"
#include "reports/qt/FormPdf.h"
#include "reports/qt/FormPreviewDialog.h"
#include "reports/qt/FormWindow.h"
#include "reports/qt/SvgTemplateLoader.h"

namespace {

// A report on form 100: a title, a footer and a three-column table with a grey header row.
class TSampleReport : public TFormData {
public:
    explicit TSampleReport(int pages, uint16_t form = FormStandard) : count(pages), form(form) {}
    int fieldsAsked = 0;

    void GetTemplate(int, TTemplateRef& ref) override { ref.resource = form; }
    void GetField(int page, int field, TFormFieldInfo& info) override {
        ++fieldsAsked;
        if (field == FormBodyField) {
            info.type = FieldTable;
            info.flags = TableVertical | TableHorizontal;
            info.text = layout;
        } else if (field == FormTitleField && page == 1) {
            info.type = FieldText;
            info.flags = TextCentre | TextBold;
            info.text = "Account Summary Report";
        } else if (field == FormFooterField) {
            std::snprintf(footer, sizeof footer, "Page %d, 05/15/2024", page);
            info.type = FieldText;
            info.flags = TextRight;
            info.text = footer;
        } else {
            info.type = FieldNothing;
        }
    }
    void GetCell(int, int, int row, int column, TFormFieldInfo& info) override {
        static const char* const header[] = {"Account", "Balance", "Cleared"};
        info.type = FieldText;
        if (row == 1) {
            info.text = header[column - 1];
            info.flags = TextCentre;
            info.backColor = FormRGB(196, 196, 196);
        } else if (row < 8) {
            info.text = column == 1 ? "Checking \x96 joint" : " 1,234.56 ";
            info.flags = column == 1 ? 0u : uint32_t(TextRight);
        }
    }
    int GetPageCount() override { return count; }
    void GetTitle(char* buffer, size_t size) override {
        std::snprintf(buffer, size, "Account Summary Report");
    }

private:
    int count;
    uint16_t form;
    const char layout[6] = {3, 50, 20, 20, 40, 0};
    char footer[64] = {};
};

// Counts the fields of a compiled-in form and keeps their rectangles.
class TFieldCounter : public TFormData {
public:
    explicit TFieldCounter(uint16_t id) : form(id) {}
    void GetTemplate(int, TTemplateRef& ref) override { ref.resource = form; }
    void GetField(int, int, TFormFieldInfo& info) override { info.type = FieldTemplateRect; }
    void GetCell(int, int, int, int, TFormFieldInfo&) override {}
    int GetPageCount() override { return 1; }
    void GetTitle(char*, size_t) override {}

private:
    uint16_t form;
};

QString LabelText(const QWidget& dialog) {
    auto* label = dialog.findChild<QLabel*>("ctl106");
    return label ? label->text() : QString();
}

bool Enabled(const QWidget& dialog, int id) {
    auto* button = dialog.findChild<QPushButton*>(QString("ctl%1").arg(id));
    return button && button->isEnabled();
}

}  // namespace

class FormPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsStepThroughThePages() {
        TSampleReport single(1);
        TFormPreviewDialog one(nullptr, single, QSize(800, 600));
        QCOMPARE(LabelText(one), QString("Page 1 of 1"));
        QVERIFY(!Enabled(one, 101) && !Enabled(one, 102));
        QCOMPARE(one.PageStatus(), int(FormOk));

        TSampleReport report(3);
        TFormPreviewDialog dialog(nullptr, report, QSize(800, 600));
        auto* next = dialog.findChild<QPushButton*>("ctl101");
        auto* previous = dialog.findChild<QPushButton*>("ctl102");
        QVERIFY(next && previous);
        QVERIFY(next->isEnabled() && !previous->isEnabled());
        next->click();
        QVERIFY(next->isEnabled() && previous->isEnabled());
        next->click();
        QCOMPARE(LabelText(dialog), QString("Page 3 of 3"));
        QVERIFY(!next->isEnabled() && previous->isEnabled());
        previous->click();
        QCOMPARE(dialog.CurrentPage(), 2);

        TSampleReport broken(2, 999);  // no such form: the sheet stays blank
        TFormPreviewDialog blank(nullptr, broken, QSize(800, 600));
        QCOMPARE(blank.PageStatus(), int(FormNoResource));
        QCOMPARE(LabelText(blank), QString("Page 1 of 2"));
    }

    void clicksZoomAboutThePoint() {
        TSampleReport report(1);
        TFormPreviewDialog dialog(nullptr, report, QSize(800, 600));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        TFormWindow* window = dialog.PageWindow();
        QWidget* view = window->viewport();
        const QSize viewSize = view->size();
        // The scrollable area is twice the window plus the sheet; the sheet starts centred.
        const QRect sheet0 = window->SheetRect();
        QCOMPARE(window->horizontalScrollBar()->maximum(), viewSize.width() + sheet0.width());
        QVERIFY(qAbs(sheet0.center().x() - view->rect().center().x()) <= 1);

        const QPoint at(sheet0.left() + sheet0.width() / 4, sheet0.top() + sheet0.height() / 3);
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
        QCOMPARE(window->ZoomLevel(), 1);
        const QRect sheet1 = window->SheetRect();
        QVERIFY(qAbs(sheet1.width() - 2 * sheet0.width()) <= 1);
        QVERIFY(qAbs(sheet1.left() + sheet1.width() / 4 - at.x()) <= 2);
        QVERIFY(qAbs(sheet1.top() + sheet1.height() / 3 - at.y()) <= 2);
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
        QCOMPARE(window->ZoomLevel(), 2);
        QCOMPARE(window->verticalScrollBar()->maximum(),
                 viewSize.height() + window->SheetRect().height());
        QTest::mouseClick(view, Qt::RightButton, {}, at);
        QTest::mouseClick(view, Qt::RightButton, {}, at);
        QTest::mouseClick(view, Qt::RightButton, {}, at);
        QCOMPARE(window->ZoomLevel(), 0);
    }

    void previewSizeIsRememberedOnClose() {
        TSampleReport report(1);
        TSettingsList settings;
        settings.SetInt("Preview.Width", 820);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QCOMPARE(dialog->size(), QSize(820, 540));
            dialog->resize(900, 640);
            dialog->findChild<QPushButton*>("ctl1")->click();
        });
        RunFormPreview(nullptr, report, &settings, TFixedScreen(1000, 720));
        QCOMPARE(settings.GetInt("Preview.Width", 0), 900);
        QCOMPARE(settings.GetInt("Preview.Height", 0), 640);
    }

    void formsHaveTheirFields() {
        TSvgTemplateLoader loader;
        TFieldCounter standard(FormStandard);
        TFormRecording page;
        QCOMPARE(standard.BuildPage(1, loader, page), int(FormOk));
        const std::vector<TFormRect> fields{{231, 247, 2428, 3079},
                                            {231, 137, 2428, 225},
                                            {920, 3144, 2428, 3194},
                                            {231, 3144, 281, 3194},
                                            {301, 3144, 351, 3194}};
        QVERIFY(standard.PageFields() == fields);
        QCOMPARE(page.ops[1].b, (TFormPoint{2550, 3300}));  // the window

        for (const TFormSize& size : FormSizes) {
            TFieldCounter counter(size.resource);
            TFormRecording sheet;
            QCOMPARE(counter.BuildPage(1, loader, sheet), int(FormOk));
            const int count = int(counter.PageFields().size());
            QVERIFY2(size.fields[size.columns - 1] <= count, size.name);
            QCOMPARE(sheet.ops[1].b.x > sheet.ops[1].b.y, size.pageWidthMm > size.pageHeightMm);
        }
        TFieldCounter missing(7);
        QCOMPARE(missing.BuildPage(1, loader, page), int(FormNoResource));
    }

    void svgRecordsFollowTheDocument() {
        const QByteArray svg =
            "<svg xmlns='http://www.w3.org/2000/svg' viewBox='10 20 300 400'>"
            "  <defs><style>rect { stroke: black }</style></defs>"
            "  <line x1='0' y1='0' x2='5' y2='5'/>"
            "  <circle cx='5' cy='5' r='2'/>"
            "  <polyline points='1,1 9,1 9,9 1,9 1,1' fill='none'/>"
            "  <polygon points='0,0 10,0 5,8'/>"
            "  <g><rect x='0' y='0' width='4' height='4'/></g>"
            "  <rect x='1.4' y='2' width='3' height='4' transform='rotate(10)'/>"
            "  <rect x='1.4' y='2' width='3' height='4'/>"
            "</svg>";
        auto form = ReadSvgTemplate(svg);
        QVERIFY(form);
        using K = TTemplateRecordKind;
        const std::vector<K> kinds{K::WindowOrigin, K::WindowExtent, K::Other,    K::Polyline,
                                   K::Polygon,      K::Other,        K::Rectangle};
        QCOMPARE(form->records.size(), kinds.size());
        for (size_t i = 0; i < kinds.size(); ++i)
            QVERIFY(form->records[i].kind == kinds[i]);
        QCOMPARE(form->records[0].points[0], (TFormPoint{10, 20}));
        QCOMPARE(form->records[6].points[1], (TFormPoint{4, 6}));
        auto source = std::dynamic_pointer_cast<const TSvgFormSource>(form->source);
        QVERIFY(source);
        // A run of drawing is one record; each record renders on its own.
        QVERIFY(source->fragments[2].contains("<circle"));
        QVERIFY(source->fragments[2].contains("<style>"));
        QVERIFY(source->Renderer(5) && source->Renderer(6));
        QVERIFY(!source->Renderer(0));

        QString error;
        QVERIFY(!ReadSvgTemplate("<svg xmlns='http://www.w3.org/2000/svg'/>", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!ReadSvgTemplate("<svg viewBox='0 0 1 1'><rect", &error));
    }

    // One PDF page per report page, of the form's size, titled as the report; the first shows
    // the table's rules, the grey header and the form's own drawing, in white margins.
    void pdfHasThePagesOfTheReport() {
        QTemporaryDir dir;
        const QString path = dir.filePath("r.pdf");
        TSampleReport report(3);
        QCOMPARE(WriteFormPdf(report, path.toStdString()), int(FormOk));
        QCOMPARE(WriteFormPdf(report, dir.filePath("missing/r.pdf").toStdString()),
                 int(FormFileFailed));
        TSampleReport broken(1, 999);
        QCOMPARE(WriteFormPdf(broken, dir.filePath("broken.pdf").toStdString()),
                 int(FormNoResource));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        static const QRegularExpression page("/Type\\s*/Page[^s]");
        QCOMPARE(QString::fromLatin1(file.readAll()).count(page), 3);

        const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        if (pdfinfo.isEmpty() || pdftoppm.isEmpty()) QSKIP("poppler's tools are not installed");
        QProcess info;
        info.start(pdfinfo, {path});
        QVERIFY(info.waitForFinished());
        const QString out = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(out.contains("Account Summary Report"), qPrintable(out));
        // 100 dots to the inch: a template unit is 1/3 of a pixel.
        QProcess render;
        render.start(pdftoppm, {"-png", "-r", "100", "-singlefile", path, dir.filePath("r")});
        QVERIFY(render.waitForFinished());
        QImage image(dir.filePath("r.png"));
        QCOMPARE(image.size(), QSize(850, 1100));
        // The most dark pixels along any of the lines [from, to] stepped by step.
        auto darkest = [&](QPoint from, QPoint to, QPoint step, int lines) {
            int best = 0;
            for (int i = 0; i < lines; ++i, from += step, to += step) {
                int n = 0;
                for (QPoint p = from; p.x() <= to.x() && p.y() <= to.y();
                     p += (to - from) / qMax(1, (to - from).manhattanLength()))
                    n += qGray(image.pixel(p)) < 160 ? 1 : 0;
                best = qMax(best, n);
            }
            return best;
        };
        // The rule under the header row (y = 247 + 70 units) crosses the whole table, and the
        // first column edge (x = 231 + 1220 units) runs down it; the margins stay white.
        QVERIFY(darkest({80, 103}, {805, 103}, {0, 1}, 6) > 700);
        QVERIFY(darkest({482, 90}, {482, 1020}, {1, 0}, 5) > 900);
        QCOMPARE(darkest({0, 500}, {60, 500}, {0, 1}, 1), 0);
        // The header row is grey behind its text.
        QCOMPARE(qGray(image.pixel(100, 95)), 196);
        // The form's own drawing comes through: the grey rule under the title (y = 236 units).
        int rule = 255;
        for (int y = 77; y <= 80; ++y)
            rule = std::min(rule, qGray(image.pixel(400, y)));
        QVERIFY2(rule < 235, qPrintable(QString::number(rule)));
    }
};

QTEST_MAIN(FormPreviewTest)
#include "FormPreviewTest.moc"
