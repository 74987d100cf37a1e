// What the program's spine (TQuilletApp, TQuilletClient) needs of the world, as ports. The Qt
// frame implements them with its main window, QFileDialog and QTimer; the tests script them. The
// spine never draws, never touches the file system itself and never reads the clock directly.
#pragma once

#include <cstdint>
#include <string>

#include "core/Date.h"

struct TChildPlacement;
enum class TStatementKind;

// Seconds since 1970 and the local calendar day.
class TClockPort {
public:
    virtual ~TClockPort() = default;
    virtual int64_t Now() = 0;
    virtual TDate Today() = 0;
};

// The system clock (TDate::Today, so a day fixed for tests applies here too).
class TSystemClock : public TClockPort {
public:
    int64_t Now() override;
    TDate Today() override;
};

// The file chooser dialogs. Filters come as "Caption|pattern|Caption|pattern|"; each answers
// true with the chosen path in path, or false when the user cancels.
class TFileDialogPort {
public:
    virtual ~TFileDialogPort() = default;
    // A dialog for an existing file, opened in startFolder (empty: wherever the toolkit likes).
    virtual bool ChooseOpenFile(const std::string& title, const std::string& filter,
                                const std::string& startFolder, std::string& path) = 0;
    // A dialog for a file name to write: proposed is a full path shown as the first choice; a
    // name typed without an extension gets defaultExtension (without the dot).
    virtual bool ChooseSaveFile(const std::string& title, const std::string& filter,
                                const std::string& defaultExtension, const std::string& proposed,
                                std::string& path) = 0;
};

enum class TTreeWindowKind { Accounts, Envelopes };

// The main frame as the spine sees it. Every call is made on the user-interface thread.
class TFramePort {
public:
    virtual ~TFramePort() = default;
    // Opens the "Accounts" or "Envelopes" tree window bound to placement, or brings it forward
    // when it is open. A new window starts minimised when placement.show is 1, maximised when
    // 2, else normal at the placement's size and position (0 x 0 meaning the frame's choice);
    // from then on the frame keeps placement current through a TDMDIChild.
    virtual void OpenTreeWindow(TTreeWindowKind kind, TChildPlacement& placement) = 0;
    // Asks every child window to close, in turn. False as soon as one refuses (those asked
    // before it are closed); true when none is left open.
    virtual bool CloseChildren() = 0;
    // The main window's caption.
    virtual void SetTitle(const std::string& title) = 0;
    // The status bar shows "Modified" while modified, nothing otherwise.
    virtual void ShowModified(bool modified) = 0;
    // The splash window: shown without waiting; it closes itself after two seconds.
    virtual void ShowSplash() = 0;
    // The busy cursor over the whole program while on; calls nest (each true has its false).
    virtual void SetWaitCursor(bool on) = 0;
    // False while a modal dialog or a nested event loop holds the main window.
    virtual bool MainWindowEnabled() = 0;
    // Brings a minimised main window back, as before a second instance's import.
    virtual void RestoreMainWindow() = 0;
    // Ends the program at once, saving nothing: the budget cannot be trusted any more. The
    // caller returns straight after; the frame must not run any further idle pass.
    virtual void EndProgram() = 0;
};

// Runs a statement import into the open budget with the options the budget or the
// configuration holds (the file chooser skipped, the path given).
class TImportRunnerPort {
public:
    virtual ~TImportRunnerPort() = default;
    virtual void ImportFile(TStatementKind kind, const std::string& path) = 0;
};

// Runs the online update check with its messages ("&Check for Updates..." and the reminder's yes).
class TUpdateCheckPort {
public:
    virtual ~TUpdateCheckPort() = default;
    virtual void CheckForUpdates() = 0;
};
