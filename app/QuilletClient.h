// The client of the main frame: it keeps the session's budget, file name and per-file lock in
// step with the File commands, and runs the start-up steps on its first idle pass and the checks
// of every idle pass. The Qt frame forwards its events and commands here and shows what the ports
// are asked for; nothing in here knows the toolkit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ShellPorts.h"
#include "app/UpdateCheck.h"

class TConfigFile;
class TFileLockPort;
class TPlatformPort;
class TQuilletData;
class TSession;

// Everything the spine reaches the world through. The referenced objects outlive the spine.
struct TShellPorts {
    TPlatformPort& platform;
    TFileLockPort& locks;
    TClockPort& clock;
    TFileDialogPort& fileDialogs;
    TFramePort& frame;
    TImportRunnerPort& importer;
    TUpdateCheckPort& updates;
};

// What the command line asked for. Paths are kept in the file system's own encoding.
struct TQuilletCommandLine {
    std::string filePath;       // "-f PATH": open this budget
    std::string planPath;       // "-w PATH": make a new budget from this plan-definition file
    std::string statementPath;  // a lone ".ofx", ".qfx" or ".qif" path: import it once open

    // args[0] is the program. A lone argument that is not a statement is taken as "-f".
    static TQuilletCommandLine Parse(const std::vector<std::string>& args);
};

// The backup of level n beside a budget: "/b/Home.qlt" has "/b/Home.backup1.qlt" first.
std::string BackupName(const std::string& fullPath, unsigned level);

inline constexpr const char* NoFileQuestion =
    "No File Specified. Would you like to create a new Quillet File?";
inline constexpr const char* TotalsAbortText =
    "Account and Envelope balances are not equal.  This means that the file has been currupted."
    "  Please write down what you were doing when this message appeared and report it to "
    "Quillet support.  Program will abort.";
inline constexpr const char* ModifiedQuestion = "File has been modified. Save it now?";
inline constexpr const char* OpenDialogTitle = "Open Quillet File";
inline constexpr const char* OpenDialogFilter = "Quillet File|*.qlt|All Files|*.*|";
inline constexpr const char* SaveAsDialogTitle = "Save Quillet File As";
inline constexpr const char* NewFileDialogTitle = "New Quillet File Name";
inline constexpr const char* SaveDialogFilter = "Quillet File|*.qlt|";

class TQuilletClient {
public:
    // The session holds the open budget, its file name and its lock; it outlives the client.
    TQuilletClient(TConfigFile& config, TSession& session, const TShellPorts& ports);
    ~TQuilletClient();  // the open budget is dropped unsaved and the lock released
    TQuilletClient(const TQuilletClient&) = delete;
    TQuilletClient& operator=(const TQuilletClient&) = delete;

    // Kept until the first idle pass reads it.
    void SetCommandLine(const std::vector<std::string>& args);

    // The frame's idle pass: the start-up steps the first time, then the totals check, pending
    // imports and the once-per-run update reminder. After the totals check has ended the
    // program nothing more is done.
    void Idle();

    // File commands ("&New...", "&Open...", "&Save", "Save &As...") and the close of the
    // frame (CloseFile answers whether the frame may close).
    void NewFile();
    void OpenCommand();
    void Save();
    bool SaveAs(bool isNew = false);
    bool CloseFile();

    // Window commands "Display &Account List" and "Display &Envelope List" (only with a budget).
    void DisplayAccounts();
    void DisplayEnvelopes();

    // Takes path under the per-file lock (empty: drops the name and the lock). False, after
    // the lock message, when another process holds the file; the old name and lock then stay.
    bool SetFileName(const std::string& path);
    // Reads the named file as the open budget (the name is already taken).
    void OpenFile();

    // A statement handed over by a second start (or the command line): imported on the next
    // idle pass that can; a path that names no file is ignored.
    void SetPendingImport(TStatementKind kind, const std::string& path);

    // "Budget.qlt - Quillet 3.1 " with a file named, "Quillet 3.1 " without.
    std::string Title() const;
    void RefreshTitle();

    TQuilletData* Document() const;
    const std::string& FileName() const;
    bool HoldsLock() const;
    bool IsBusy() const { return busy; }
    bool IsImporting() const { return importing; }
    bool ReminderDone() const { return reminder.Handled(); }
    bool Ended() const { return ended; }
    const std::string& PendingQif() const { return pendingQif; }
    const std::string& PendingOfx() const { return pendingOfx; }

private:
    void FirstIdle();
    void StartNewFile(const std::string& planPath);
    void ShowModified();
    bool ReadFile(std::string& error);
    void CloseSession();
    void RotateBackups();
    std::string NewFileFolder();
    void RunPendingImport(TStatementKind kind, std::string& pending);
    void UpdateReminder();

    TConfigFile& config;
    TSession& session;
    TShellPorts ports;

    bool firstIdle = true;
    bool busy = true;  // until the start-up steps are done
    bool importing = false;
    bool ended = false;
    int64_t createdAt = 0;
    TUpdateReminder reminder;
    std::string pendingQif, pendingOfx;
    TQuilletCommandLine commandLine;
};
