// The application object: the configuration, the auto-save minute counter, the one-minute
// timer, the application's idle pass and the last write of the configuration at the end. The Qt
// frame owns one, forwards its timer ticks, idle passes and close requests to it, and shows the
// configured bars and place.
#pragma once

#include <cstdint>

#include "app/QuilletClient.h"
#include "core/QuilletData.h"

class TConfigFile;

// Imports a statement straight into the open budget with the options it (or the configuration)
// holds for the account; the configuration keeps the folder and is saved afterwards.
class TStatementImportRunner : public TImportRunnerPort {
public:
    explicit TStatementImportRunner(TConfigFile& config) : config(config) {}
    void ImportFile(TStatementKind kind, const std::string& path) override;

private:
    TConfigFile& config;
};

// Minutes since the last save, counted while auto-save is on.
class TAutoSave {
public:
    enum TState : int32_t { Idle = 0, Due = 1, Saving = 2 };

    // One tick of the one-minute timer: with an interval N (0 turns counting off) the save
    // comes due on the (N+1)-th tick after the last reset.
    void Tick(uint32_t intervalMinutes);
    // A file was opened or saved.
    void Reset() { minutes = 0; }

    int32_t Minutes() const { return minutes; }
    TState State() const { return state; }

private:
    friend class TQuilletApp;
    int32_t minutes = 0;
    TState state = Idle;
};

class TQuilletApp : private TDocumentObserver {
public:
    // The configuration is loaded by the caller (a default one written when it cannot be read).
    // The frame is given its title at once.
    TQuilletApp(TConfigFile& config, const TShellPorts& ports);
    ~TQuilletApp();
    TQuilletApp(const TQuilletApp&) = delete;
    TQuilletApp& operator=(const TQuilletApp&) = delete;

    TQuilletClient& Client() { return client; }
    TConfigFile& Config() { return config; }
    TAutoSave& AutoSave() { return autoSave; }

    // The status bar follows the open budget's modified mark from construction on.
    // The frame's repeating 60000-millisecond timer fired.
    void TimerTick();
    // The event loop is about to wait: the client's pass, then a due auto-save, then every
    // registered TIdler.
    void IdlePass();
    // The frame asks whether it may close: the open budget's close procedure decides.
    bool CanClose();
    // The program ends: the configuration is written once more. The frame records its own place
    // into the options first.
    void ShutDown();

private:
    void ModifiedChanged(bool modified) override;

    TConfigFile& config;
    TFramePort& frame;
    TAutoSave autoSave;
    TQuilletClient client;
};
