// The running program's ear for a second start: a local socket per user on which a second start
// hands over a statement to import, and the second start's side that sends it.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/InstanceMessage.h"

class QLocalServer;
class QLocalSocket;

// The socket's full path: "Quillet" in the user's runtime folder (XDG_RUNTIME_DIR, which only
// its user can enter), so every user has a server of their own.
QString InstanceSocketName();

class TInstanceServer : public QObject {
    Q_OBJECT

public:
    using TRequestHandler = std::function<void(const TImportRequest&)>;

    // Requests that arrive whole and well formed are acknowledged, then handed to handler.
    TInstanceServer(const QString& socketName, TRequestHandler handler, QObject* parent = nullptr);
    ~TInstanceServer() override;

    // Starts listening. False when another program already answers on the name (it serves
    // instead) or the socket cannot be made; a socket left behind by a program that ended is
    // replaced.
    bool Listen();
    bool IsListening() const;

    // How long a connection may take to deliver its message, and how many may be open at once.
    static constexpr int ConnectionTimeoutMs = 5000;
    static constexpr int MaxConnections = 8;

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QString name;
    TRequestHandler handler;
    QLocalServer* server;
};

// A second start's side: sends the request to the program listening on socketName and waits for
// its acknowledgement. False when nobody answers in time (then this start carries on by itself).
bool SendToRunningInstance(const QString& socketName, const TImportRequest& request,
                           int timeoutMs = 3000);
