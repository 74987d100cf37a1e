#include "reports/qt/FormPreviewDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "reports/qt/FormCanvasQt.h"
#include "reports/qt/FormPdf.h"
#include "reports/qt/FormPrinterQt.h"
#include "reports/qt/FormWindow.h"
#include "reports/qt/SvgTemplateLoader.h"

namespace {

QPushButton* Button(const QString& text, int id, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("ctl%1").arg(id));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TFormPreviewDialog::TFormPreviewDialog(QWidget* parent, CFWEngine& r, QSize size,
                                       TTemplateLoader* l)
    : QDialog(parent), report(r), loader(l) {
    if (!loader) {
        ownLoader = std::make_unique<TSvgTemplateLoader>();
        loader = ownLoader.get();
    }
    setWindowTitle(QStringLiteral("Form Preview"));
    setSizeGripEnabled(true);

    window = new TFormWindow(this);
    window->setObjectName(QStringLiteral("ctl103"));
    next = Button(QStringLiteral("&>>"), 101, this);
    previous = Button(QStringLiteral("&<<"), 102, this);
    auto* print = Button(QStringLiteral("&Print"), 104, this);
    auto* pdf = Button(QStringLiteral("Save as P&DF..."), 107, this);
    auto* close = Button(QStringLiteral("&Close"), 1, this);
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("ctl106"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previous);
    buttons->addWidget(next);
    buttons->addSpacing(12);
    buttons->addWidget(label);
    buttons->addStretch(1);
    buttons->addWidget(pdf);
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(window, 1);
    layout->addLayout(buttons);

    connect(next, &QPushButton::clicked, this, [this] {
        if (page < report.GetPageCount()) ShowPage(page + 1);
    });
    connect(previous, &QPushButton::clicked, this, [this] {
        if (page > 1) ShowPage(page - 1);
    });
    connect(print, &QPushButton::clicked, this, &TFormPreviewDialog::Print);
    connect(pdf, &QPushButton::clicked, this, &TFormPreviewDialog::AskSaveAsPdf);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    resize(size);
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    ShowPage(1);
    window->setFocus();
}

TFormPreviewDialog::~TFormPreviewDialog() = default;

void TFormPreviewDialog::ShowPage(int n) {
    page = n;
    auto built = std::make_shared<TQtFormPage>();
    TQtFormCanvas canvas(*built);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    status = report.BuildPage(page, *loader, canvas);
    QGuiApplication::restoreOverrideCursor();
    int widthMm = 0, heightMm = 0;
    report.GetPageSize(widthMm, heightMm);
    if (status != FormOk) built.reset();
    window->SetPage(built, QSizeF(widthMm, heightMm));

    const int count = report.GetPageCount();
    label->setText(QString::asprintf("Page %d of %d", page, count));
    next->setEnabled(page < count);
    previous->setEnabled(page > 1);
}

void TFormPreviewDialog::Print() {
    TQtFormPrinter printer(this, loader);
    report.Print(printer);
}

int TFormPreviewDialog::SaveAsPdf(const QString& path) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const int result = WriteFormPdf(report, QFile::encodeName(path).toStdString());
    QGuiApplication::restoreOverrideCursor();
    return result;
}

void TFormPreviewDialog::AskSaveAsPdf() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as PDF"), QString(),
                                                QStringLiteral("PDF File (*.pdf)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    const int result = SaveAsPdf(path);
    if (result == FormFileFailed)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("\"%1\" cannot be written.").arg(path));
    else if (result != FormOk)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The page template is missing or damaged."));
}

void RunFormPreview(QWidget* parent, CFWEngine& report, TSettingsList* settings,
                    const TScreenPort& screen) {
    const TPreviewSize size = PreviewSize(screen, settings);
    TFormPreviewDialog dialog(parent, report, QSize(size.width, size.height));
    dialog.exec();
    StorePreviewSize(settings, {dialog.width(), dialog.height()});
}
