#include "app/QuilletClient.h"

#include <algorithm>
#include <cctype>

#include "app/BudgetCheck.h"
#include "app/BudgetFile.h"
#include "app/FileLock.h"
#include "app/NewBudget.h"
#include "app/PlatformPort.h"
#include "app/QuilletApp.h"
#include "app/QuilletConfig.h"
#include "app/Session.h"
#include "app/UpdateCheck.h"
#include "app/Version.h"
#include "core/QuilletData.h"
#include "core/UIPort.h"
#include "import/Importer.h"
#include "transactions/XManager.h"

namespace {

constexpr const char* Caption = "Quillet";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && Lower(text.substr(text.size() - tail.size())) == tail;
}

bool IsStatementPath(const std::string& path, TStatementKind& kind) {
    if (EndsWithNoCase(path, ".qif")) {
        kind = TStatementKind::Qif;
        return true;
    }
    if (EndsWithNoCase(path, ".ofx") || EndsWithNoCase(path, ".qfx")) {
        kind = TStatementKind::Ofx;
        return true;
    }
    return false;
}

}  // namespace

std::string BackupName(const std::string& fullPath, unsigned level) {
    size_t slash = fullPath.find_last_of('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = fullPath.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) dot = fullPath.size();
    return fullPath.substr(0, dot) + ".backup" + std::to_string(level) + fullPath.substr(dot);
}

TQuilletCommandLine TQuilletCommandLine::Parse(const std::vector<std::string>& args) {
    TQuilletCommandLine line;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "-f" || arg == "-w") && i + 1 < args.size()) {
            (arg == "-f" ? line.filePath : line.planPath) = args[++i];
            continue;
        }
        TStatementKind kind;
        if (IsStatementPath(arg, kind))
            line.statementPath = arg;
        else if (line.filePath.empty() && !arg.empty() && arg[0] != '-')
            line.filePath = arg;
    }
    return line;
}

TQuilletClient::TQuilletClient(TConfigFile& cfg, TSession& s, const TShellPorts& p)
    : config(cfg), session(s), ports(p), createdAt(p.clock.Now()) {}

TQuilletClient::~TQuilletClient() {
    session.Close();
}

TQuilletData* TQuilletClient::Document() const {
    return session.Document();
}

const std::string& TQuilletClient::FileName() const {
    return session.Path();
}

bool TQuilletClient::HoldsLock() const {
    return session.HoldsLock();
}

void TQuilletClient::SetCommandLine(const std::vector<std::string>& args) {
    commandLine = TQuilletCommandLine::Parse(args);
}

void TQuilletClient::ShowModified() {
    TQuilletData* document = session.Document();
    ports.frame.ShowModified(document && document->IsModified());
}

void TQuilletClient::CloseSession() {
    session.Close();
    ShowModified();
}

// ---- idle passes ----

void TQuilletClient::Idle() {
    if (ended) return;
    if (firstIdle) FirstIdle();
    if (TQuilletData* document = session.Document(); document && !TotalsAgree(*document)) {
        UI().Message(Caption, TotalsAbortText, TMsgButtons::Ok, TMsgIcon::Stop);
        ended = true;
        ports.frame.EndProgram();
        return;
    }
    RunPendingImport(TStatementKind::Qif, pendingQif);
    RunPendingImport(TStatementKind::Ofx, pendingOfx);
    UpdateReminder();
}

void TQuilletClient::FirstIdle() {
    firstIdle = false;
    busy = true;
    ports.frame.ShowSplash();
    TStatementKind kind;
    if (IsStatementPath(commandLine.statementPath, kind))
        SetPendingImport(kind, commandLine.statementPath);
    if (!commandLine.planPath.empty()) {
        commandLine.filePath.clear();
        StartNewFile(commandLine.planPath);
        commandLine.planPath.clear();
    } else if (!commandLine.filePath.empty()) {
        if (SetFileName(commandLine.filePath)) OpenFile();
    } else if (config.Options().reopenLastFile && !config.Options().lastFile.empty()) {
        if (SetFileName(config.Options().lastFile)) OpenFile();
    } else if (!session.Document()) {
        if (UI().Message(Caption, NoFileQuestion, TMsgButtons::YesNo, TMsgIcon::Exclamation) ==
            TMsgResult::Yes)
            NewFile();
    }
    busy = false;
}

void TQuilletClient::SetPendingImport(TStatementKind kind, const std::string& path) {
    if (path.empty() || !ports.platform.FileExists(path)) return;
    (kind == TStatementKind::Qif ? pendingQif : pendingOfx) = path;
}

void TQuilletClient::RunPendingImport(TStatementKind kind, std::string& pending) {
    if (busy || !session.Document() || pending.empty() || importing ||
        !ports.frame.MainWindowEnabled())
        return;
    importing = true;
    ports.frame.RestoreMainWindow();
    std::string path = pending;
    ports.importer.ImportFile(kind, path);
    pending.clear();
    importing = false;
}

void TQuilletClient::UpdateReminder() {
    TQuilletOptions& options = config.Options();
    bool ready = !busy && !importing && ports.frame.MainWindowEnabled();
    bool handled = reminder.Handled();
    if (reminder.Pass(ready, options.updateCheckDays, ports.clock.Now() - createdAt,
                      ports.clock.Today(), options.lastUpdateCheck) &&
        UI().Message(UpdateCaption, UpdateReminderText, TMsgButtons::YesNo,
                     TMsgIcon::Exclamation) == TMsgResult::Yes)
        ports.updates.CheckForUpdates();
    if (reminder.Handled() != handled) config.Save();  // the last-check date moved to today
}

// ---- the file name and its lock ----

bool TQuilletClient::SetFileName(const std::string& path) {
    if (path.empty()) {
        session.Rename({}, nullptr);
        return true;
    }
    std::string full = ports.locks.FullPath(path);
    if (Lower(full) == Lower(session.Path())) return true;
    std::string error;
    std::unique_ptr<TFileLock> taken = ports.locks.TryLock(LockName(full), error);
    if (!taken) {
        UI().Message("Error", LockRefusedMessage(path), TMsgButtons::Ok, TMsgIcon::Exclamation);
        return false;
    }
    session.Rename(full, std::move(taken));
    return true;
}

std::string TQuilletClient::Title() const {
    const std::string& fileName = session.Path();
    std::string title;
    if (!fileName.empty()) title = fileName.substr(fileName.find_last_of('/') + 1) + " - ";
    return title + "Quillet " + QuilletVersionText() + " ";
}

void TQuilletClient::RefreshTitle() {
    ports.frame.SetTitle(Title());
}

// ---- open ----

void TQuilletClient::OpenCommand() {
    if (!CloseFile()) return;
    std::string folder;
    if (std::string docs = ports.platform.DocumentsFolder(); !docs.empty()) {
        folder = docs + "/Quillet";
        if (!ports.platform.FolderExists(folder)) folder.clear();
    }
    std::string chosen;
    if (ports.fileDialogs.ChooseOpenFile(OpenDialogTitle, OpenDialogFilter, folder, chosen) &&
        SetFileName(chosen))
        OpenFile();
}

bool TQuilletClient::ReadFile(std::string& error) {
    std::unique_ptr<TQuilletData> doc = LoadBudgetFile(session.Path(), error);
    if (!doc) return false;
    // The file keeps the lock it was named with.
    std::string path = session.Path();
    session.Open(std::move(doc), std::move(path), session.TakeLock());
    ShowModified();
    return true;
}

void TQuilletClient::OpenFile() {
    if (session.Path().empty()) return;
    ports.frame.SetWaitCursor(true);
    std::string error;
    if (!ReadFile(error)) {
        // "Home" names "Home.qlt" as well. A refused lock on that name is reported by the lock
        // message and opens nothing.
        std::string asGiven = session.Path();
        if (!SetFileName(asGiven + ".qlt") || !ReadFile(error)) {
            UI().Message(Caption, "Error opening file: " + asGiven + ".", TMsgButtons::Ok,
                         TMsgIcon::Stop);
            SetFileName({});
            ports.frame.SetWaitCursor(false);
            RefreshTitle();
            return;
        }
    }
    TQuilletData* document = session.Document();
    config.SetLastFile(session.Path());
    for (TChildPlacement* placement :
         {&document->EnvelopesPlacement(), &document->AccountsPlacement()}) {
        if (!placement->open) continue;
        placement->open = false;  // the window sets it again as it opens
        ports.frame.OpenTreeWindow(placement == &document->EnvelopesPlacement()
                                       ? TTreeWindowKind::Envelopes
                                       : TTreeWindowKind::Accounts,
                                   *placement);
    }
    RefreshTitle();
    ports.frame.SetWaitCursor(false);
}

// ---- save ----

void TQuilletClient::RotateBackups() {
    unsigned levels = config.Options().backupLevels;
    TPlatformPort& platform = ports.platform;
    std::string full = ports.locks.FullPath(session.Path());
    for (unsigned n = levels; n >= 1; --n) {
        std::string target = BackupName(full, n);
        if (n == levels) platform.RemoveFile(target);
        if (n == 1)
            // Copied rather than moved: the budget stays at its name until the new one replaces
            // it whole, so a crash in between never leaves no budget at all.
            platform.CopyFile(full, target);
        else
            platform.MoveFile(BackupName(full, n - 1), target);
    }
}

void TQuilletClient::Save() {
    TQuilletData* document = session.Document();
    if (session.Path().empty()) {
        if (document) SaveAs(false);
        return;
    }
    if (!document) return;
    if (document->IsFresh() && config.Options().backupLevels != 0) RotateBackups();
    ports.frame.SetWaitCursor(true);
    std::string error;
    bool saved = session.Save(error);  // a saved budget starts the auto-save count again
    ports.frame.SetWaitCursor(false);
    if (saved) {
        config.SetLastFile(session.Path());
        return;
    }
    UI().Message(Caption,
                 "There was an error saving file \"" + session.Path() +
                     "\".  Your changes were not saved and your file may have serious errors!  "
                     "Make sure the drive is not full or write protected.  You should free up "
                     "some space on the current drive, or save the file to another drive.",
                 TMsgButtons::Ok, TMsgIcon::Stop);
    SaveAs(false);
}

std::string TQuilletClient::NewFileFolder() {
    std::string docs = ports.platform.DocumentsFolder();
    if (docs.empty()) return {};
    std::string folder = docs + "/Quillet";
    ports.platform.CreateFolder(folder);
    return folder;
}

bool TQuilletClient::SaveAs(bool isNew) {
    if (!session.Document()) return false;
    std::string proposed = session.Path();
    if (proposed.empty()) {
        std::string folder = NewFileFolder();
        proposed = folder.empty() ? "NewFile.qlt" : folder + "/NewFile.qlt";
    }
    for (;;) {
        std::string chosen;
        if (!ports.fileDialogs.ChooseSaveFile(isNew ? NewFileDialogTitle : SaveAsDialogTitle,
                                              SaveDialogFilter, "qlt", proposed, chosen))
            return false;
        if (SetFileName(chosen)) break;
        proposed = chosen;
    }
    RefreshTitle();
    Save();
    return true;
}

// ---- new and close ----

void TQuilletClient::NewFile() {
    StartNewFile({});
}

void TQuilletClient::StartNewFile(const std::string& planPath) {
    if (!CloseFile()) return;
    if (std::unique_ptr<TQuilletData> created = CreateNewBudget(planPath)) {
        session.Open(std::move(created));
        ShowModified();
    }
    if (!session.Document() || !SaveAs(true)) {
        CloseSession();
        RefreshTitle();
        return;
    }
    DisplayEnvelopes();
    DisplayAccounts();
    Save();
}

bool TQuilletClient::CloseFile() {
    if (TQuilletData* document = session.Document()) {
        const TQuilletOptions& options = config.Options();
        TXManager& store = document->GetXManager();
        bool confirmImports = options.confirmImportOnClose == 1;
        bool confirmCleared = options.confirmClearedOnClose == 1;
        bool wanted = document->IsModified() || (confirmImports && store.HasImportMarks()) ||
                      (confirmCleared && store.HasPendingCleared());
        bool save = wanted;
        if (wanted && options.autoSaveMinutes == 0) {
            TMsgResult answer = UI().Message(Caption, ModifiedQuestion, TMsgButtons::YesNoCancel,
                                             TMsgIcon::Exclamation);
            if (answer == TMsgResult::Cancel) return false;
            save = answer == TMsgResult::Yes;
        }
        if (save) {
            if (confirmImports) store.ClearImportMarks();
            if (confirmCleared) store.ConfirmPendingCleared(ports.clock.Today());
            Save();
            // A save that failed and whose Save As was cancelled keeps the budget open: closing
            // now would throw the changes away.
            if (document->IsModified()) return false;
        }
        if (!ports.frame.CloseChildren()) return false;
        CloseSession();
    }
    RefreshTitle();
    return true;
}

void TQuilletClient::DisplayAccounts() {
    if (TQuilletData* document = session.Document())
        ports.frame.OpenTreeWindow(TTreeWindowKind::Accounts, document->AccountsPlacement());
}

void TQuilletClient::DisplayEnvelopes() {
    if (TQuilletData* document = session.Document())
        ports.frame.OpenTreeWindow(TTreeWindowKind::Envelopes, document->EnvelopesPlacement());
}
