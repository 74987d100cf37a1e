// The shell: the frame forwards its commands, idle passes and close to the spine (a budget opened
// through the File menu, saved with a backup, and a modified one that asks before it closes); the
// second-start socket and the update check, each against a real local peer.
#include <QAction>
#include <QLabel>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTcpServer>
#include <QTcpSocket>
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
#include "app/UpdateCheck.h"
#include "app/qt/InstanceServer.h"
#include "app/qt/MainWindow.h"
#include "app/qt/UpdateCheckerQt.h"
#include "core/QuilletData.h"
#include "platform/Platform.h"
#include "tests/gui/GuiSupport.h"
#include "tests/support/ScriptedUI.h"

namespace {

const TFixedScreen Screen(750, 500);

class TScriptedFiles : public TFileDialogPort {
public:
    std::deque<std::string> answers;
    bool Answer(std::string& path) {
        if (answers.empty()) return false;
        path = answers.front();
        answers.pop_front();
        return true;
    }
    bool ChooseOpenFile(const std::string&, const std::string&, const std::string&,
                        std::string& path) override {
        return Answer(path);
    }
    bool ChooseSaveFile(const std::string&, const std::string&, const std::string&,
                        const std::string&, std::string& path) override {
        return Answer(path);
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

// Sends raw bytes and tells whether the server acknowledged them.
bool Acknowledged(const QString& name, const QByteArray& bytes) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(1000)) return false;
    socket.write(bytes);
    QByteArray answer;
    QDeadlineTimer deadline(2000);
    while (socket.state() == QLocalSocket::ConnectedState && !deadline.hasExpired()) {
        // The server answers from this thread's event loop.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        answer += socket.readAll();
    }
    answer += socket.readAll();
    return answer.toStdString() == InstanceAcknowledgement();
}

// Answers every request on 127.0.0.1 with one fixed HTTP reply and keeps the request line.
class TReplyServer : public QTcpServer {
public:
    QByteArray reply, request;
    explicit TReplyServer(const QByteArray& body) {
        reply =
            "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\nContent-Length: " +
            QByteArray::number(body.size()) + "\r\n\r\n" + body;
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                request += socket->readAll();
                if (!request.contains("\r\n\r\n")) return;
                socket->write(reply);
                socket->disconnectFromHost();
            });
        });
        listen(QHostAddress::LocalHost);
    }
    QByteArray Url() const { return "http://127.0.0.1:" + QByteArray::number(serverPort()) + "/u"; }
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
        TTestHome home;
        TLinuxPlatform platform;
        const std::string path = home.Path("Home.qlt").toStdString();
        {
            TQuilletData doc;
            doc.AccountsPlacement().open = true;
            std::string error;
            QVERIFY2(SaveBudgetFile(doc, path, platform, error), error.c_str());
        }

        TScriptedUI ui;
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
            QCOMPARE(ui.messages.size(), size_t(1));
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
            QVERIFY(std::filesystem::exists(home.Path("Home.backup1.qlt").toStdString()));
            QVERIFY(!app.Client().Document()->IsModified());
            QCOMPARE(window->findChild<QLabel*>("modifiedLabel")->text(), QString());

            // Modified again: closing asks; Cancel keeps everything, No closes unsaved.
            app.Client().Document()->SetModified();
            ui.messages.clear();
            ui.answers = {TMsgResult::Cancel};
            QVERIFY(!window->close());
            QCOMPARE(ui.messages.size(), size_t(1));
            QCOMPARE(ui.messages[0].text, ModifiedQuestion);
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

    void secondStartHandsOverAStatement() {
        QTemporaryDir folder;
        const QString name = folder.filePath("Quillet");
        std::vector<TImportRequest> taken;
        TInstanceServer server(name, [&](const TImportRequest& r) { taken.push_back(r); });
        QVERIFY(server.Listen());
        // A second server on the same name sees the first answer and stays out of its way.
        TInstanceServer other(name, {});
        QVERIFY(!other.Listen());

        const TImportRequest valid{TStatementKind::Qif, "/home/ann/June statement.qif"};
        QVERIFY(Acknowledged(
            name, QByteArray::fromStdString(EncodeInstanceMessage(*MakeExecuteText(valid)))));
        QCOMPARE(taken.size(), size_t(1));
        QVERIFY(taken[0] == valid);

        // Garbage, an oversized length and a text without a quoted path are dropped unanswered.
        QVERIFY(!Acknowledged(name, QByteArray(64, 'x')));
        std::string oversized = EncodeInstanceMessage("OFX \"/a.ofx\"");
        oversized[5] = oversized[6] = '\x7f';
        QVERIFY(!Acknowledged(name, QByteArray::fromStdString(oversized)));
        QVERIFY(!Acknowledged(name, QByteArray::fromStdString(EncodeInstanceMessage("OFX"))));
        QCOMPARE(taken.size(), size_t(1));

        // A client that connects and says nothing does not stop the next one.
        QLocalSocket silent;
        silent.connectToServer(name);
        QVERIFY(silent.waitForConnected(1000));
        QVERIFY(
            Acknowledged(name, QByteArray::fromStdString(EncodeInstanceMessage("OFX \"/b.ofx\""))));
        QCOMPARE(taken.size(), size_t(2));
        QCOMPARE(taken[1].kind, TStatementKind::Ofx);

        // With nobody listening, a second start's sender gives up and that start carries on.
        QVERIFY(!SendToRunningInstance(folder.filePath("Nobody"), valid, 300));
    }

    void updateCheckAsksTheAddressAndReports() {
        TScriptedUI ui;
        QStringList opened;
        TUpdateCheckerQt checker(nullptr, [&](const QString& url) { opened << url; });
        auto checkAgainst = [&](const QByteArray& url) {
            qputenv(UpdateUrlVariable, url);
            ui.messages.clear();
            ui.answers = {TMsgResult::Yes};
            checker.CheckForUpdates();
            return ui.messages.size() == 1 ? ui.messages[0].text : std::string("(none)");
        };

        TReplyServer newer(
            "<major>3</major><minor>2</minor><build>1</build>"
            "<dlink>https://example.org/get</dlink>");
        QCOMPARE(checkAgainst(newer.Url()), JudgeUpdateReply("<major>3</major><minor>2</minor>"
                                                             "<build>1</build>")
                                                .message);
        QVERIFY(newer.request.startsWith("GET /u HTTP/1.1"));
        QVERIFY(newer.request.contains("User-Agent: QuilletUpdate"));
        QCOMPARE(opened, QStringList({"https://example.org/get"}));

        TReplyServer current("<major>3</major><minor>1</minor><build>1004</build>");
        QCOMPARE(
            checkAgainst(current.Url()),
            std::string("You have version 3.1 Build 1004, which is the most current version."));

        // Garbage longer than a reply may be compares as no version at all.
        TReplyServer garbage(QByteArray(5000, '<'));
        QCOMPARE(checkAgainst(garbage.Url()), JudgeUpdateReply("x").message);

        quint16 closedPort;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            closedPort = probe.serverPort();
        }
        QCOMPARE(checkAgainst("http://127.0.0.1:" + QByteArray::number(closedPort) + "/u"),
                 std::string(UpdateErrorText));
        QCOMPARE(opened.size(), qsizetype(1));
        qunsetenv(UpdateUrlVariable);
    }
};

QTEST_MAIN(ShellFrameTest)
#include "ShellFrameTest.moc"
