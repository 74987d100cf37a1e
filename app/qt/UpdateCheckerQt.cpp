#include "app/qt/UpdateCheckerQt.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "app/UpdateCheck.h"
#include "core/UIPort.h"

std::string FetchUpdateReply(QNetworkAccessManager& network, const std::string& url,
                             const std::string& agent, int timeoutMs) {
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(agent));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = network.get(request);
    reply->setReadBufferSize(static_cast<qint64>(MaxUpdateReply));

    QByteArray body;
    QEventLoop loop;
    auto take = [&] {
        body += reply->read(static_cast<qint64>(MaxUpdateReply) - body.size());
        // The rest of a longer reply is never read.
        if (body.size() >= static_cast<qsizetype>(MaxUpdateReply)) loop.quit();
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The transfer time-out covers a silent server; this one covers a slow trickle as well.
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    if (body.size() < static_cast<qsizetype>(MaxUpdateReply)) take();
    const bool failed = reply->isFinished() && reply->error() != QNetworkReply::NoError &&
                        reply->error() < QNetworkReply::ContentAccessDenied;
    reply->abort();
    reply->deleteLater();
    return failed ? std::string() : body.toStdString();
}

TUpdateCheckerQt::TUpdateCheckerQt(TFramePort* frame, TUrlOpener opener)
    : frame(frame), openUrl(std::move(opener)), network(new QNetworkAccessManager) {
    if (!openUrl) openUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
}

TUpdateCheckerQt::~TUpdateCheckerQt() {
    delete network;
}

void TUpdateCheckerQt::CheckForUpdates() {
    // A second request while one is waiting (the menu stays usable) is not started.
    if (running) return;
    running = true;
    const TUpdateRequest request = MakeUpdateRequest();
    if (frame) frame->SetWaitCursor(true);
    const std::string reply =
        FetchUpdateReply(*network, request.url, request.agent, UpdateTimeoutSeconds * 1000);
    if (frame) frame->SetWaitCursor(false);
    const TUpdateVerdict verdict = JudgeUpdateReply(reply);
    running = false;
    switch (verdict.outcome) {
        case TUpdateOutcome::Failed:
            UI().Message(UpdateCaption, verdict.message, TMsgButtons::Ok, TMsgIcon::Exclamation);
            break;
        case TUpdateOutcome::Current:
            UI().Message(UpdateCaption, verdict.message, TMsgButtons::Ok, TMsgIcon::Information);
            break;
        case TUpdateOutcome::Newer:
            if (UI().Message(UpdateCaption, verdict.message, TMsgButtons::YesNo,
                             TMsgIcon::Question) == TMsgResult::Yes)
                openUrl(QString::fromStdString(verdict.downloadLink));
            break;
    }
}
