// The second-start socket and the update check, each against a real local peer.
#include <QLocalSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>

#include "app/UpdateCheck.h"
#include "app/qt/InstanceServer.h"
#include "app/qt/UpdateCheckerQt.h"
#include "core/UIPort.h"

namespace {

class TScriptedUI : public TUIPort {
public:
    std::vector<std::string> texts;
    TMsgResult answer = TMsgResult::Yes;
    TMsgResult Message(const std::string&, const std::string& text, TMsgButtons,
                       TMsgIcon) override {
        texts.push_back(text);
        return answer;
    }
    void Beep() override {}
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

}  // namespace

class ShellServicesTest : public QObject {
    Q_OBJECT

private slots:
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
        TPortInstall<TUIPort> uiInstalled(UI, ui);
        QStringList opened;
        TUpdateCheckerQt checker(nullptr, [&](const QString& url) { opened << url; });
        auto checkAgainst = [&](const QByteArray& url) {
            qputenv(UpdateUrlVariable, url);
            ui.texts.clear();
            checker.CheckForUpdates();
            return ui.texts.size() == 1 ? ui.texts[0] : std::string("(none)");
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

QTEST_MAIN(ShellServicesTest)
#include "ShellServicesTest.moc"
