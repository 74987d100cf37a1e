// "Form Preview": one page of a report at a time, with page buttons and printing.
#pragma once

#include <QDialog>
#include <memory>

#include "reports/FormEngine.h"
#include "reports/FormPreview.h"

class QLabel;
class QPushButton;
class TFormWindow;
class TScreenPort;
class TSettingsList;

class TFormPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // Opens centred on the screen at `size`. Pages come from `loader`, or the compiled-in forms.
    TFormPreviewDialog(QWidget* parent, CFWEngine& report, QSize size,
                       TTemplateLoader* loader = nullptr);
    ~TFormPreviewDialog() override;

    int CurrentPage() const { return page; }
    // The status of the last page build (FormOk, or why the page is blank).
    int PageStatus() const { return status; }
    TFormWindow* PageWindow() const { return window; }
    // Writes every page into a PDF file at path; FormOk or why it failed.
    int SaveAsPdf(const QString& path);

private:
    CFWEngine& report;
    std::unique_ptr<TTemplateLoader> ownLoader;
    TTemplateLoader* loader;
    TFormWindow* window;
    QPushButton* next;
    QPushButton* previous;
    QLabel* label;
    int page = 1;
    int status = FormOk;

    void ShowPage(int n);
    void Print();
    void AskSaveAsPdf();
};

// Runs the preview at the size "Preview.Width" and "Preview.Height" remember (or a share of the
// screen) and remembers the size it closed at.
void RunFormPreview(QWidget* parent, CFWEngine& report, TSettingsList* settings,
                    const TScreenPort& screen);
