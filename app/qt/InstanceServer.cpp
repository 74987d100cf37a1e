#include "app/qt/InstanceServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

namespace {

// Each connection's reader lives on its socket.
struct TConnection : QObject {
    TInstanceMessageReader reader;
};

// Whether a program answers on the name now.
bool Answers(const QString& socketName) {
    QLocalSocket probe;
    probe.connectToServer(socketName);
    return probe.waitForConnected(500);
}

}  // namespace

QString InstanceSocketName() {
    // Qt makes a private runtime folder when the session names none.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(runtime).filePath(QString::fromLatin1(InstanceServerName));
}

TInstanceServer::TInstanceServer(const QString& socketName, TRequestHandler onRequest,
                                 QObject* parent)
    : QObject(parent),
      name(socketName),
      handler(std::move(onRequest)),
      server(new QLocalServer(this)) {
    server->setObjectName("instanceServer");
    server->setSocketOptions(QLocalServer::UserAccessOption);
    server->setMaxPendingConnections(MaxConnections);
    connect(server, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

TInstanceServer::~TInstanceServer() = default;

bool TInstanceServer::IsListening() const {
    return server->isListening();
}

bool TInstanceServer::Listen() {
    // Listening would quietly replace the socket of a program that still runs.
    if (Answers(name)) return false;
    QLocalServer::removeServer(name);
    return server->listen(name);
}

void TInstanceServer::Accept() {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Too many at once: a flood is dropped rather than queued.
        if (findChildren<QLocalSocket*>(QString(), Qt::FindDirectChildrenOnly).size() >
            MaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(static_cast<qint64>(InstanceHeaderSize + MaxExecuteText));
        auto* connection = new TConnection;
        connection->setParent(socket);
        connection->setObjectName("connection");
        // A client that sends nothing, or too slowly, is cut off; the program never waits on it.
        QTimer::singleShot(ConnectionTimeoutMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        if (socket->bytesAvailable() > 0) Read(socket);
    }
}

void TInstanceServer::Read(QLocalSocket* socket) {
    auto* connection = socket->findChild<TConnection*>("connection");
    if (!connection || connection->reader.State() != TInstanceMessageReader::TState::NeedMore)
        return;
    const QByteArray bytes = socket->readAll();
    const auto state = connection->reader.Feed(std::string_view(bytes.constData(), bytes.size()));
    if (state == TInstanceMessageReader::TState::NeedMore) return;
    std::optional<TImportRequest> request;
    if (state == TInstanceMessageReader::TState::Complete)
        request = ParseExecuteText(connection->reader.Text());
    if (!request) {
        socket->abort();
        return;
    }
    const std::string ack = InstanceAcknowledgement();
    socket->write(ack.data(), static_cast<qint64>(ack.size()));
    socket->flush();
    socket->disconnectFromServer();
    if (handler) handler(*request);
}

bool SendToRunningInstance(const QString& socketName, const TImportRequest& request,
                           int timeoutMs) {
    const std::optional<std::string> text = MakeExecuteText(request);
    if (!text) return false;
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
    const std::string message = EncodeInstanceMessage(*text);
    socket.write(message.data(), static_cast<qint64>(message.size()));
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
    const std::string ack = InstanceAcknowledgement();
    QByteArray answer;
    while (answer.size() < static_cast<qsizetype>(ack.size()) && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
        answer += socket.read(static_cast<qint64>(ack.size()) - answer.size());
    }
    return answer.toStdString() == ack;
}
