#include "app/qt/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

const QString HelpRoot = QStringLiteral(":/help/");
const QString ContentsPage = QStringLiteral("index.html");

QString ReadPage(const QString& file) {
    QFile page(HelpRoot + file);
    if (!page.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(page.readAll());
}

}  // namespace

// The pages are embedded with the artwork; a static library keeps them only when asked for.
static void InitHelpResources() {
    Q_INIT_RESOURCE(quillet);
}

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    InitHelpResources();
    setObjectName("helpWindow");
    setWindowTitle("Quillet Help");
    setAccessibleName(windowTitle());

    searchField = new QLineEdit(this);
    searchField->setObjectName("helpSearch");
    searchField->setPlaceholderText("Search");
    searchField->setAccessibleName("Search");
    searchField->setClearButtonEnabled(true);

    contents = new QListWidget(this);
    contents->setObjectName("helpContents");
    contents->setAccessibleName("Contents");

    browser = new QTextBrowser(this);
    browser->setObjectName("helpPage");
    browser->setAccessibleName("Help page");
    browser->setSearchPaths({HelpRoot});
    browser->setOpenExternalLinks(true);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(searchField);
    sideLayout->addWidget(contents);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(860, 600);

    LoadPages();
    FillContents(PageFiles());
    connect(searchField, &QLineEdit::textChanged, this, &THelpWindow::SearchChanged);
    connect(contents, &QListWidget::currentRowChanged, this, [this](int row) {
        if (QListWidgetItem* item = contents->item(row)) {
            browser->setSource(QUrl(item->data(Qt::UserRole).toString()));
            // Bring the first place the search matched into view.
            const QStringList words =
                searchField->text().split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
            if (!words.isEmpty()) browser->find(words.first());
        }
    });
    ShowPage({});
}

void THelpWindow::LoadPages() {
    // The contents page lists the others in reading order; it comes first itself.
    const QString index = ReadPage(ContentsPage);
    QStringList files{ContentsPage};
    static const QRegularExpression link(QStringLiteral("<li><a href=\"([^\"]+\\.html)\">"));
    for (auto match = link.globalMatch(index); match.hasNext();)
        files << match.next().captured(1);
    for (const QString& file : files) {
        QTextDocument document;
        document.setHtml(ReadPage(file));
        QString title = document.metaInformation(QTextDocument::DocumentTitle);
        pages.append({file, title.isEmpty() ? file : title, document.toPlainText()});
    }
}

QStringList THelpWindow::PageFiles() const {
    QStringList files;
    for (const TPage& page : pages)
        files << page.file;
    return files;
}

QStringList THelpWindow::Search(const QString& query) const {
    const QStringList words = query.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    QStringList found;
    for (const TPage& page : pages) {
        bool all = true;
        for (const QString& word : words)
            all = all && page.text.contains(word, Qt::CaseInsensitive);
        if (all) found << page.file;
    }
    return found;
}

void THelpWindow::FillContents(const QStringList& files) {
    const QSignalBlocker quiet(contents);
    contents->clear();
    for (const TPage& page : pages) {
        if (!files.contains(page.file)) continue;
        auto* item = new QListWidgetItem(page.title, contents);
        item->setData(Qt::UserRole, page.file);
    }
}

void THelpWindow::SearchChanged(const QString& query) {
    FillContents(Search(query));
    if (contents->count() > 0) contents->setCurrentRow(0);
}

void THelpWindow::ShowPage(const QString& fileName) {
    const QString file = fileName.isEmpty() ? ContentsPage : fileName;
    browser->setSource(QUrl(file));
    for (int row = 0; row < contents->count(); ++row) {
        if (contents->item(row)->data(Qt::UserRole).toString() == file) {
            const QSignalBlocker quiet(contents);
            contents->setCurrentRow(row);
        }
    }
}
