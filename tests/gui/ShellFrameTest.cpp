// The frame forwards its commands, idle passes and close to the spine: a budget opened through
// the File menu, saved with a backup, and a modified one that asks before it closes.
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <functional>

#include "app/BudgetFile.h"
#include "app/FileLock.h"
#include "app/QuilletApp.h"
#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "app/Session.h"
#include "app/qt/MainWindow.h"
#include "core/ObjectStream.h"
#include "core/QuilletData.h"
#include "core/UIPort.h"
#include "platform/Platform.h"

namespace {

const TFixedScreen Screen(750, 500);

class TScriptedUI : public TUIPort {
public:
    std::deque<TMsgResult> answers;
    std::vector<std::string> texts;
    TMsgResult Message(const std::string&, const std::string& text, TMsgButtons,
                       TMsgIcon) override {
        texts.push_back(text);
        if (answers.empty()) return TMsgResult::Cancel;
        TMsgResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Beep() override {}
};

class TScriptedFiles : public TFileDialogPort {
public:
    std::deque<std::string> answers;
    std::vector<std::string> titles;
    bool Answer(const std::string& title, std::string& path) {
        titles.push_back(title);
        if (answers.empty()) return false;
        path = answers.front();
        answers.pop_front();
        return true;
    }
    bool ChooseOpenFile(const std::string& title, const std::string&, const std::string&,
                        std::string& path) override {
        return Answer(title, path);
    }
    bool ChooseSaveFile(const std::string& title, const std::string&, const std::string&,
                        const std::string&, std::string& path) override {
        return Answer(title, path);
    }
};

class TFreeLocks : public TFileLockPort {
public:
    std::string FullPath(const std::string& path) override {
        return std::filesystem::absolute(path).string();
    }
    std::unique_ptr<TFileLock> TryLock(const std::string&, std::string&) override {
        return std::make_unique<TFileLock>();
    }
};

class TNoImports : public TImportRunnerPort {
public:
    void ImportFile(TStatementKind, const std::string&) override {}
};

class TNoUpdates : public TUpdateCheckPort {
public:
    void CheckForUpdates() override {}
};

// Runs the event loop as the program does, waiting for events, so that idle passes happen.
bool RunUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 50 && !done(); ++i) {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

}  // namespace

class ShellFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterQuilletClasses(); }

    void fileCommandsReachTheBudget() {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
        TLinuxPlatform platform;
        const std::string path = home.filePath("Home.qlt").toStdString();
        {
            TQuilletData doc;
            doc.AccountsPlacement().open = true;
            std::string error;
            QVERIFY2(SaveBudgetFile(doc, path, platform, error), error.c_str());
        }

        TScriptedUI ui;
        TPortInstall<TUIPort> uiInstalled(UI, ui);
        TConfigFile config(platform, Screen);
        TScriptedFiles files;
        TFreeLocks locks;
        TSystemClock clock;
        TNoImports importer;
        TNoUpdates updates;
        TSession session(platform);
        {
            auto window = std::make_unique<TMainWindow>(config);  // outlives the spine
            config.Options().autoSaveMinutes = 0;
            config.Options().backupLevels = 2;
            config.Options().updateCheckDays = 0;
            TQuilletApp app(config, session,
                            {platform, locks, clock, files, *window, importer, updates});
            app.Client().SetCommandLine({"quillet"});
            window->Attach(app, updates);
            ui.answers = {TMsgResult::No};  // no new budget at the start
            window->ShowAsConfigured();
            QVERIFY(RunUntil([&] { return !app.Client().IsBusy(); }));
            QCOMPARE(ui.texts.size(), size_t(1));
            QVERIFY(!window->Command(CmFileSave)->isEnabled());

            files.answers = {path};
            window->Command(CmFileOpen)->trigger();
            QVERIFY(app.Client().Document());
            QCOMPARE(window->windowTitle(), QString("Home.qlt - Quillet 3.1 "));
            QVERIFY(window->Command(CmFileSave)->isEnabled());
            // The file says its accounts window was open.
            QCOMPARE(window->Client()->subWindowList().size(), qsizetype(1));
            QCOMPARE(window->Client()->subWindowList()[0]->windowTitle(), QString("Accounts"));
            window->Command(CmEnvelopeList)->trigger();
            QCOMPARE(window->Client()->subWindowList().size(), qsizetype(2));

            app.Client().Document()->SetModified();
            QCOMPARE(window->findChild<QLabel*>("modifiedLabel")->text(), QString("Modified"));
            window->Command(CmFileSave)->trigger();
            QVERIFY(std::filesystem::exists(home.filePath("Home.backup1.qlt").toStdString()));
            QVERIFY(!app.Client().Document()->IsModified());
            QCOMPARE(window->findChild<QLabel*>("modifiedLabel")->text(), QString());

            // Modified again: closing asks; Cancel keeps everything, No closes unsaved.
            app.Client().Document()->SetModified();
            ui.texts.clear();
            ui.answers = {TMsgResult::Cancel};
            QVERIFY(!window->close());
            QCOMPARE(ui.texts, std::vector<std::string>{ModifiedQuestion});
            QVERIFY(app.Client().Document());
            QCOMPARE(window->Client()->subWindowList().size(), qsizetype(2));
            ui.answers = {TMsgResult::No};
            QVERIFY(window->close());
            QVERIFY(!app.Client().Document());
            QVERIFY(window->Client()->subWindowList().isEmpty());
        }
        // Both windows were open when the file was last saved.
        std::string error;
        std::unique_ptr<TQuilletData> saved = LoadBudgetFile(path, error);
        QVERIFY2(saved, error.c_str());
        QVERIFY(saved->AccountsPlacement().open && saved->EnvelopesPlacement().open);
    }
};

QTEST_MAIN(ShellFrameTest)
#include "ShellFrameTest.moc"
