// The one path every command that writes a budget takes: the per-file lock first, then reading,
// then the checks a writer needs, then the atomic replacement. The lock is held until the
// writer goes away, so a second writer (console or program) is refused instead of losing work.
#pragma once

#include <memory>
#include <string>

#include "platform/FileLock.h"
#include "platform/Platform.h"

class TQuilletData;

class TBudgetWriter {
public:
    TBudgetWriter(const char* command, std::string path);
    ~TBudgetWriter();

    // Takes the lock of the file; false after printing the lock message (status 1).
    bool Lock();
    // Lock, then read the existing budget. Null after saying why, with the exit status in
    // status: 1 held by another writer or its totals disagree, 2 it cannot be read.
    std::unique_ptr<TQuilletData> Open(int& status);
    // Whether the totals of doc (read from the file at path) agree; says so when they do not.
    // The program stops on such a budget rather than save it; so do the writing commands.
    bool TotalsAgreeIn(TQuilletData& doc, const std::string& from);
    // Writes doc over the file; false after saying why.
    bool Save(TQuilletData& doc);

    const std::string& Path() const { return path; }
    TLinuxPlatform& Platform() { return platform; }

private:
    const char* command;
    std::string path;
    TLinuxPlatform platform;
    std::unique_ptr<TFileLock> lock;
};
