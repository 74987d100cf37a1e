// The open budget as one object: the document, the file it belongs to, the lock that keeps a
// second writer off that file, and the minutes counted toward the next auto-save. The program's
// windows get the session; the rules reach the open document through TQuilletData::Current(),
// which the session keeps pointing at its document.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TFileLock;
class TPlatformPort;
class TQuilletData;

// The program's one-minute timer counts toward auto-save; its idle pass saves when one is due.
class TAutoSaveCounter {
public:
    enum class TState { Idle, Due, Saving };

    // One minute passed. With an interval of N minutes (0 turns auto-save off) and no save due
    // or running, the minute counts; the save comes due on the (N + 1)-th tick after a reset.
    void Tick(uint32_t intervalMinutes);
    // A file was opened or saved: the count starts again.
    void Reset();
    // Due turns into Saving (true); false when no save is due.
    bool BeginSave();

    int32_t Minutes() const { return minutes; }
    TState State() const { return state; }

private:
    int32_t minutes = 0;
    TState state = TState::Idle;
};

class TSession {
public:
    explicit TSession(TPlatformPort& platform);
    ~TSession();
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    // The open budget; null when none is open.
    TQuilletData* Document() const { return document.get(); }
    // Its file as the user named it; empty for a new budget not named yet.
    const std::string& Path() const { return path; }
    bool HoldsLock() const { return lock != nullptr; }
    TAutoSaveCounter& AutoSave() { return autoSave; }

    // Makes doc the open budget, closing the one before (unsaved), with its file and its lock.
    void Open(std::unique_ptr<TQuilletData> doc, std::string file = {},
              std::unique_ptr<TFileLock> fileLock = nullptr);
    // Reads the file into a document of its own and opens it. The open budget is neither read
    // nor changed unless the file could be read; false, with the reason, when it could not.
    bool Load(const std::string& file, std::unique_ptr<TFileLock> fileLock, std::string& error);
    // Names the open budget's file anew (Save As), holding the new file's lock instead.
    void Rename(std::string file, std::unique_ptr<TFileLock> fileLock);
    // Writes the open budget to its file through the platform's atomic replacement and starts
    // the auto-save count again. False, with the reason, when there is no budget or no name or
    // the file could not be written.
    bool Save(std::string& error);
    // Destroys the open budget and releases its lock.
    void Close();

    // What an auto-save runs: the program's File Save, with its backups and messages. Until one
    // is given, the session's own Save.
    void SetSaveCommand(std::function<void()> command) { saveCommand = std::move(command); }
    // The program's idle pass: a due auto-save first, then every idle object. A pass started
    // while one runs (a message box's own event loop) does nothing.
    void IdlePass();

private:
    TPlatformPort& platform;
    std::unique_ptr<TQuilletData> document;
    std::string path;
    std::unique_ptr<TFileLock> lock;
    TAutoSaveCounter autoSave;
    std::function<void()> saveCommand;
    bool idling = false;
};
