#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QtTest>

#include "app/qt/CommandIcons.h"
#include "app/qt/HelpWindow.h"

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(quillet); }

    void EveryPageIsListedAndEveryLinkResolves() {
        THelpWindow window;
        const QStringList files = window.PageFiles();
        QCOMPARE(files.first(), QString("index.html"));
        QCOMPARE(files.size(), 11);
        QCOMPARE(window.Contents()->count(), 11);
        static const QRegularExpression href("href=\"([^\"#]+)\"");
        for (const QString& file : files) {
            QFile page(":/help/" + file);
            QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(file));
            const QString html = QString::fromUtf8(page.readAll());
            for (auto match = href.globalMatch(html); match.hasNext();) {
                const QString target = match.next().captured(1);
                QVERIFY2(QFile::exists(":/help/" + target), qPrintable(file + " -> " + target));
            }
        }
        window.ShowPage("keyboard.html");
        QVERIFY(window.Browser()->toPlainText().contains("Toggle Watchdog"));
        QCOMPARE(window.Contents()->currentItem()->text(), QString("Keyboard"));
    }

    void SearchNarrowsTheContents() {
        THelpWindow window;
        window.SearchField()->setText("reconcile  CTRL+ENTER");
        QCOMPARE(window.Search("reconcile ctrl+enter"),
                 QStringList({"accounts.html", "import.html", "keyboard.html"}));
        QCOMPARE(window.Contents()->count(), 3);
        QVERIFY(window.Browser()->source().toString().endsWith("accounts.html"));
        window.SearchField()->setText("nowhere-to-be-found");
        QCOMPARE(window.Contents()->count(), 0);
        window.SearchField()->clear();
        QCOMPARE(window.Contents()->count(), 11);
    }

    void EveryPictureRenders() {
        int count = 0;
        for (QDirIterator it(":/icons", {"*.svg"}); it.hasNext(); ++count) {
            const QString file = it.next();
            QVERIFY2(QSvgRenderer(file).isValid(), qPrintable(file));
        }
        QVERIFY(count > 60);
        QVERIFY(QSvgRenderer(QString(":/splash.svg")).isValid());

        // Every command of the menus and the control bar has a picture that exists.
        int commands = 0;
        for (int id = 0; id < 30000; ++id) {
            const QString file = CommandIconFile(id);
            if (file.isEmpty()) continue;
            ++commands;
            QVERIFY2(QFile::exists(file), qPrintable(file));
        }
        QCOMPARE(commands, 47);
    }
};

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
