// The per-file lock on Linux: an advisory lock (flock) on a lock file in the per-user runtime
// folder, released by the system when the process ends however it ends.
#pragma once

#include "app/FileLock.h"

class TLinuxFileLocks : public TFileLockPort {
public:
    // folder: where the lock files live; empty for the per-user runtime folder.
    explicit TLinuxFileLocks(std::string folder = {});
    std::string FullPath(const std::string& path) override;
    std::unique_ptr<TFileLock> TryLock(const std::string& lockName, std::string& error) override;

    // $XDG_RUNTIME_DIR/quillet, or a folder of this user's own under /tmp when there is none.
    static std::string RuntimeFolder();
    // The lock file for a lock name: a hash keeps any path within one file name.
    std::string LockFilePath(const std::string& lockName) const;

private:
    std::string folder;
};
