// The online update check over QNetworkAccessManager: one GET, at most MaxUpdateReply bytes read,
// given up after UpdateTimeoutSeconds; the program keeps handling events while it waits.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "app/ShellPorts.h"

class QNetworkAccessManager;

// Fetches the reply the update address gives (empty when nothing could be read).
std::string FetchUpdateReply(QNetworkAccessManager& network, const std::string& url,
                             const std::string& agent, int timeoutMs);

class TUpdateCheckerQt : public TUpdateCheckPort {
public:
    using TUrlOpener = std::function<void(const QString&)>;

    // frame shows the wait cursor (and tells the idle pass the program is busy) while the check
    // runs; openUrl opens the download page (QDesktopServices when none is given).
    explicit TUpdateCheckerQt(TFramePort* frame = nullptr, TUrlOpener openUrl = {});
    ~TUpdateCheckerQt() override;

    void CheckForUpdates() override;

private:
    TFramePort* frame;
    TUrlOpener openUrl;
    QNetworkAccessManager* network;
    bool running = false;
};
