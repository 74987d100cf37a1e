#include "app/QuilletApp.h"

#include "app/QuilletConfig.h"
#include "app/Session.h"
#include "core/Idler.h"
#include "import/Importer.h"

void TStatementImportRunner::ImportFile(TStatementKind kind, const std::string& path) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc) return;
    ImportStatement(*doc, config.Settings(), kind, path);
    config.Save();
}

TQuilletApp::TQuilletApp(TConfigFile& cfg, TSession& s, const TShellPorts& ports)
    : config(cfg), session(s), frame(ports.frame), client(cfg, s, ports) {
    TQuilletData::SetObserver(this);
    session.SetSaveCommand([this] { client.Save(); });
    client.RefreshTitle();
}

TQuilletApp::~TQuilletApp() {
    session.SetSaveCommand(nullptr);
    TQuilletData::SetObserver(nullptr);
}

TAutoSaveCounter& TQuilletApp::AutoSave() {
    return session.AutoSave();
}

void TQuilletApp::ModifiedChanged(bool modified) {
    frame.ShowModified(modified);
}

void TQuilletApp::TimerTick() {
    session.AutoSave().Tick(config.Options().autoSaveMinutes);
}

void TQuilletApp::IdlePass() {
    client.Idle();
    if (client.Ended()) return;
    // A save that comes due while start-up work or a modal dialog runs waits for a pass that
    // can ask for a file name safely; the idle objects run all the same.
    if (client.IsBusy() || !frame.MainWindowEnabled()) {
        TIdler::RunIdlers();
        return;
    }
    session.IdlePass();
}

bool TQuilletApp::CanClose() {
    return client.CloseFile();
}

void TQuilletApp::ShutDown() {
    config.Save();
}
