// The help pages in a window of their own: a contents list, a search field that narrows the list
// to the pages holding every word typed, and the page itself.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // A page by file name ("accounts.html"); the contents page for an empty name.
    void ShowPage(const QString& fileName);
    // The file names of the pages whose text holds every word of the query, in contents order;
    // every page for an empty query.
    QStringList Search(const QString& query) const;
    QStringList PageFiles() const;

    QListWidget* Contents() const { return contents; }
    QLineEdit* SearchField() const { return searchField; }
    QTextBrowser* Browser() const { return browser; }

private:
    struct TPage {
        QString file;
        QString title;
        QString text;  // plain, for searching
    };

    void LoadPages();
    void FillContents(const QStringList& files);
    void SearchChanged(const QString& query);

    QList<TPage> pages;
    QLineEdit* searchField;
    QListWidget* contents;
    QTextBrowser* browser;
};
