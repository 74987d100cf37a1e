// Printing a report through the system's print dialog.
#pragma once

#include "reports/FormEngine.h"

class QWidget;

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
