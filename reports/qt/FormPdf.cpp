#include "reports/qt/FormPdf.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

#include "core/Text.h"
#include "reports/qt/FormCanvasQt.h"
#include "reports/qt/SvgTemplateLoader.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// Only real failures reach the console program's user; Qt's notices about the platform it was
// started on (a missing runtime folder and the like) say nothing about the PDF, whose own
// failures come back as statuses.
void SevereOnly(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((type == QtCriticalMsg || type == QtFatalMsg) && previousHandler)
        previousHandler(type, context, message);
}

// Fonts and the SVG renderer need a GUI application; the console program has none.
class TApplicationGuard {
public:
    TApplicationGuard() {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        previousHandler = qInstallMessageHandler(SevereOnly);
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    ~TApplicationGuard() {
        if (!app) return;
        app.reset();
        qInstallMessageHandler(previousHandler);
    }
    TApplicationGuard(const TApplicationGuard&) = delete;
    TApplicationGuard& operator=(const TApplicationGuard&) = delete;

private:
    int argc = 1;
    char name[8] = "quillet";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
};

}  // namespace

int TPdfFormPrinter::PrintForm(const std::string& title, CFWEngine& report) {
    const int pages = report.GetPageCount();
    if (pages < 1) return FormOk;
    int widthMm = 0, heightMm = 0;
    report.GetPageSize(widthMm, heightMm);
    if (widthMm <= 0 || heightMm <= 0) {
        widthMm = 216;  // a page that fills the sheet goes on US Letter
        heightMm = 279;
    }

    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return FormFileFailed;
    int status = FormOk;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setTitle(QString::fromUtf8(Cp1252ToUtf8(title)));
        writer.setCreator(QStringLiteral("Quillet"));
        // Page sizes are named upright; a wider page is an upright size turned on its side.
        const bool landscape = widthMm > heightMm;
        const QSizeF upright = landscape ? QSizeF(heightMm, widthMm) : QSizeF(widthMm, heightMm);
        writer.setPageLayout(QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                                         landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer)) return FormFileFailed;
        TSvgTemplateLoader loader;
        status = PaintFormPages(report, loader, writer, painter, 1, pages);
        painter.end();
    }
    file.close();
    if (file.error() != QFileDevice::NoError) return FormFileFailed;
    return status;
}

int WriteFormPdf(CFWEngine& report, const std::string& pdfPath) {
    TApplicationGuard application;
    TPdfFormPrinter printer(pdfPath);
    return report.Print(printer);
}
