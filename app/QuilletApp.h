// The application object: the configuration, the session's auto-save count, the one-minute
// timer, the application's idle pass and the last write of the configuration at the end. The Qt
// frame owns one, forwards its timer ticks, idle passes and close requests to it, and shows the
// configured bars and place.
#pragma once

#include <cstdint>

#include "app/QuilletClient.h"
#include "core/QuilletData.h"

class TConfigFile;
class TAutoSaveCounter;
class TSession;

// Imports a statement straight into the open budget with the options it (or the configuration)
// holds for the account; the configuration keeps the folder and is saved afterwards.
class TStatementImportRunner : public TImportRunnerPort {
public:
    explicit TStatementImportRunner(TConfigFile& config) : config(config) {}
    void ImportFile(TStatementKind kind, const std::string& path) override;

private:
    TConfigFile& config;
};

class TQuilletApp : private TDocumentObserver {
public:
    // The configuration is loaded by the caller (a default one written when it cannot be read).
    // The session outlives the application; its auto-save runs the client's File Save. The
    // frame is given its title at once.
    TQuilletApp(TConfigFile& config, TSession& session, const TShellPorts& ports);
    ~TQuilletApp();
    TQuilletApp(const TQuilletApp&) = delete;
    TQuilletApp& operator=(const TQuilletApp&) = delete;

    TQuilletClient& Client() { return client; }
    TConfigFile& Config() { return config; }
    TSession& Session() { return session; }
    TAutoSaveCounter& AutoSave();

    // The status bar follows the open budget's modified mark from construction on.
    // The frame's repeating 60000-millisecond timer fired.
    void TimerTick();
    // The event loop is about to wait: the client's pass, then the session's (a due auto-save,
    // then every registered TIdler).
    void IdlePass();
    // The frame asks whether it may close: the open budget's close procedure decides.
    bool CanClose();
    // The program ends: the configuration is written once more. The frame records its own place
    // into the options first.
    void ShutDown();

private:
    void ModifiedChanged(bool modified) override;

    TConfigFile& config;
    TSession& session;
    TFramePort& frame;
    TQuilletClient client;
};
