#include "app/QuilletApp.h"

#include "app/Idler.h"
#include "app/QuilletConfig.h"
#include "import/Importer.h"

void TStatementImportRunner::ImportFile(TStatementKind kind, const std::string& path) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc) return;
    ImportStatement(*doc, config.Settings(), kind, path);
    config.Save();
}

void TAutoSave::Tick(uint32_t intervalMinutes) {
    if (intervalMinutes == 0 || state != Idle) return;
    if (static_cast<uint32_t>(++minutes) > intervalMinutes) state = Due;
}

TQuilletApp::TQuilletApp(TConfigFile& cfg, const TShellPorts& ports)
    : config(cfg), frame(ports.frame), client(cfg, autoSave, ports) {
    TQuilletData::SetObserver(this);
    client.RefreshTitle();
}

TQuilletApp::~TQuilletApp() {
    TQuilletData::SetObserver(nullptr);
}

void TQuilletApp::ModifiedChanged(bool modified) {
    frame.ShowModified(modified);
}

void TQuilletApp::TimerTick() {
    autoSave.Tick(config.Options().autoSaveMinutes);
}

void TQuilletApp::IdlePass() {
    client.Idle();
    if (client.Ended()) return;
    // A save that comes due while start-up work or a modal dialog runs waits for a pass that
    // can ask for a file name safely.
    if (autoSave.state == TAutoSave::Due && !client.IsBusy() && frame.MainWindowEnabled()) {
        autoSave.state = TAutoSave::Saving;
        client.Save();
        autoSave.minutes = 0;
        autoSave.state = TAutoSave::Idle;
    }
    TIdler::RunIdlers();
}

bool TQuilletApp::CanClose() {
    return client.CloseFile();
}

void TQuilletApp::ShutDown() {
    config.Save();
}
