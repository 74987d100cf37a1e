// The per-file lock: one writer per budget, across the program and the console program. The
// domain names the lock; the platform holds it.
#pragma once

#include <memory>
#include <string>

// The lock name of a budget: its full path with every blank turned to "_", every backslash to
// "/" and every other character to lower case, so spellings of one path share one lock.
std::string LockName(const std::string& fullPath);

// What the user is told when another process holds the file (the path as the user gave it).
std::string LockRefusedMessage(const std::string& path);

// A lock held for as long as the object lives (and no longer than the process).
class TFileLock {
public:
    virtual ~TFileLock() = default;
};

class TFileLockPort {
public:
    virtual ~TFileLockPort() = default;
    // The full path of a file as the system expands it.
    virtual std::string FullPath(const std::string& path) = 0;
    // Takes the lock of that name without waiting; null when another holder has it or it cannot
    // be made (error then says why; empty when it is simply held elsewhere).
    virtual std::unique_ptr<TFileLock> TryLock(const std::string& lockName, std::string& error) = 0;
};
