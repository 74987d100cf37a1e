#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

class TFlockLock : public TFileLock {
public:
    explicit TFlockLock(int fd) : fd(fd) {}
    ~TFlockLock() override { close(fd); }  // closing the last descriptor drops the lock

private:
    int fd;
};

// A folder only this user can use: made 0700 when missing, refused when it is someone else's or
// not a plain folder (a link planted in /tmp must not steer our lock files).
bool OwnFolder(const std::string& path, std::string& error) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) {
        error = path + ": not a folder of this user's own";
        return false;
    }
    return true;
}

}  // namespace

TLinuxFileLocks::TLinuxFileLocks(std::string folder)
    : folder(folder.empty() ? RuntimeFolder() : std::move(folder)) {}

std::string TLinuxFileLocks::RuntimeFolder() {
    std::error_code ec;
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR");
        dir && dir[0] == '/' && std::filesystem::is_directory(dir, ec))
        return std::string(dir) + "/quillet";
    return "/tmp/quillet-" + std::to_string(getuid());
}

std::string TLinuxFileLocks::FullPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(path, ec);
    if (ec) full = std::filesystem::absolute(path, ec);
    return ec ? path : full.string();
}

std::string TLinuxFileLocks::LockFilePath(const std::string& lockName) const {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : lockName) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[40];
    std::snprintf(name, sizeof name, "%016llx.lock", static_cast<unsigned long long>(hash));
    return folder + "/" + name;
}

std::unique_ptr<TFileLock> TLinuxFileLocks::TryLock(const std::string& lockName,
                                                    std::string& error) {
    error.clear();
    if (!OwnFolder(folder, error)) return nullptr;
    std::string path = LockFilePath(lockName);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) error = path + ": " + std::strerror(errno);
        close(fd);
        return nullptr;
    }
    return std::make_unique<TFlockLock>(fd);
}
