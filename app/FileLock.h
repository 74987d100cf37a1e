// The per-file lock: one writer per budget, across the program and the console program. The
// domain names the lock; the platform holds it.
#pragma once

// A lock held for as long as the object lives (and no longer than the process).
class TFileLock {
public:
    virtual ~TFileLock() = default;
};
