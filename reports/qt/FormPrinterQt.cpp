#include "reports/qt/FormPrinterQt.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "core/Text.h"
#include "reports/qt/FormCanvasQt.h"
#include "reports/qt/SvgTemplateLoader.h"

TQtFormPrinter::TQtFormPrinter(QWidget* p, TTemplateLoader* l) : parent(p), loader(l) {}

int TQtFormPrinter::PrintForm(const std::string& title, CFWEngine& report) {
    const int pages = report.GetPageCount();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(Cp1252ToUtf8(title)));
    int widthMm = 0, heightMm = 0;
    report.GetPageSize(widthMm, heightMm);
    if (widthMm > 0 && heightMm > 0) {
        printer.setPageOrientation(widthMm > heightMm ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
    }

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
