// Printing a report through the system's print dialog.
#pragma once

#include "reports/FormEngine.h"

class QPrinter;
class QWidget;

// The one printer of the run: "P&rinter Setup..." sets it up and every report prints on it.
QPrinter& SharedFormPrinter();
// "P&rinter Setup...": the platform's page setup over the shared printer; true on OK.
bool RunPrinterSetup(QWidget* parent);

class TQtFormPrinter : public TFormPrinter {
public:
    // Templates come from `loader`, or the compiled-in forms.
    explicit TQtFormPrinter(QWidget* parent, TTemplateLoader* loader = nullptr);
    // Shows the print dialog over pages 1 to the page count, then prints the chosen pages.
    int PrintForm(const std::string& title, CFWEngine& report) override;

private:
    QWidget* parent;
    TTemplateLoader* loader;
};
