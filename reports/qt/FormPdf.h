// Printed reports as PDF files, for the console program: one PDF page per report page.
#pragma once

#include <string>

#include "reports/FormEngine.h"

// Prints `report` (through its own print operation, hooks included) into a PDF file at
// `pdfPath`, each page at the report's true size on a sheet of that size. Returns FormOk, the
// status of a page that failed to build, or FormFileFailed when the file cannot be written. A
// report without pages writes no file. Works without a running application: one is started for
// the call, on the offscreen platform unless QT_QPA_PLATFORM names another.
int WriteFormPdf(CFWEngine& report, const std::string& pdfPath);

// The printer behind WriteFormPdf.
class TPdfFormPrinter : public TFormPrinter {
public:
    explicit TPdfFormPrinter(std::string pdfPath) : path(std::move(pdfPath)) {}
    int PrintForm(const std::string& title, CFWEngine& report) override;

private:
    std::string path;
};
