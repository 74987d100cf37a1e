#include "reports/qt/FormPrinterQt.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "core/Text.h"
#include "reports/qt/FormCanvasQt.h"
#include "reports/qt/SvgTemplateLoader.h"

QPrinter& SharedFormPrinter() {
    // Kept to the end of the process: a printer outliving the application must not be torn down
    // after the platform's print support is gone.
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

bool RunPrinterSetup(QWidget* parent) {
    QPageSetupDialog dialog(&SharedFormPrinter(), parent);
    return dialog.exec() == QDialog::Accepted;
}

TQtFormPrinter::TQtFormPrinter(QWidget* p, TTemplateLoader* l) : parent(p), loader(l) {}

int TQtFormPrinter::PrintForm(const std::string& title, CFWEngine& report) {
    const int pages = report.GetPageCount();
    QPrinter& printer = SharedFormPrinter();
    printer.setDocName(QString::fromUtf8(Cp1252ToUtf8(title)));
    int widthMm = 0, heightMm = 0;
    report.GetPageSize(widthMm, heightMm);
    if (widthMm > 0 && heightMm > 0) {
        printer.setPageOrientation(widthMm > heightMm ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
    }

    // The range chosen for the last report does not carry over to this one.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, std::max(pages, 1));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted) return -1;
    int first = 1, last = pages;
    if (printer.printRange() == QPrinter::PageRange) {
        first = std::max(printer.fromPage(), 1);
        last = std::min(printer.toPage(), pages);
    }
    if (first > last) return FormOk;

    TSvgTemplateLoader ownLoader;
    QPainter painter;
    if (!painter.begin(&printer)) return FormFileFailed;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const int status =
        PaintFormPages(report, loader ? *loader : ownLoader, printer, painter, first, last);
    QGuiApplication::restoreOverrideCursor();
    painter.end();
    return status;
}
