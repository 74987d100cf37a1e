#include "platform/Platform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

constexpr auto StaleTemporaryAge = std::chrono::seconds(60);

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

// An XDG base folder: the variable when set to an absolute path, else the default under home.
std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
    if (const char* v = std::getenv(variable); v && v[0] == '/') return v;
    std::string home = HomeFolder();
    if (home.empty()) return {};
    return home + "/" + fallbackUnderHome;
}

}  // namespace

std::string TLinuxPlatform::ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string TLinuxPlatform::OlderConfigFolder() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

bool TLinuxPlatform::ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes,
                                 std::string& error) {
    return ReplaceFileAtomically(path, bytes, error);
}

namespace {

// Temporaries of our own are named ".NAME.XXXXXX" beside the file NAME.
bool IsOurTemporary(const std::string& entry, const std::string& name) {
    std::string head = "." + name + ".";
    if (entry.size() != head.size() + 6 || entry.compare(0, head.size(), head) != 0) return false;
    for (size_t i = head.size(); i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
    return true;
}

// Removes temporaries an earlier save left when it was killed. One still being written is
// touched as it grows, so only those left alone for a while are taken.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (!IsOurTemporary(entry, name) || !it->is_regular_file(ec)) continue;
        auto written = it->last_write_time(ec);
        if (!ec && now - written > StaleTemporaryAge) fs::remove(it->path(), ec);
    }
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Gives the complete unnamed file fd a temporary name beside the target; empty when it cannot.
std::string LinkTemporary(int fd, const std::filesystem::path& folder, const std::string& name) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 random{std::random_device{}()};
    std::string self = "/proc/self/fd/" + std::to_string(fd);
    std::string pick(6, 'a');
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (char& c : pick)
            c = letters[random() % (sizeof letters - 1)];
        std::string candidate = (folder / ("." + name + "." + pick)).string();
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return candidate;
        if (errno != EEXIST) break;
    }
    return {};
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                           std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Writing through a symbolic link replaces what it points at, not the link.
    fs::path target(path);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::weakly_canonical(target, ec);
        if (ec) {
            error = ec.message();
            return false;
        }
    }
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string name = target.filename().string();
    RemoveStaleTemporaries(folder, name);

    // Keep the permissions of the file being replaced; new files get the usual 0666 & ~umask.
    mode_t mode;
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        // Only a plain file is replaced, and not one its owner has marked read-only (which a
        // rename would otherwise pass over).
        if (!S_ISREG(st.st_mode)) {
            error = "not a regular file";
            return false;
        }
        if ((st.st_mode & 0222) == 0) {
            error = "the file is read-only";
            return false;
        }
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    // An unnamed file vanishes by itself if we are killed while writing it; it gets a name only
    // once it is complete. Filesystems without unnamed files get a named one at once.
    std::string named;
    int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    bool unnamed = fd >= 0;
    if (!unnamed) {
        std::string tmpl = (folder / ("." + name + ".XXXXXX")).string();
        std::vector<char> buffer(tmpl.begin(), tmpl.end());
        buffer.push_back('\0');
        fd = mkstemp(buffer.data());
        if (fd < 0) {
            error = std::strerror(errno);
            return false;
        }
        named = buffer.data();
    }
    auto fail = [&](int err) {
        error = std::strerror(err);
        if (fd >= 0) close(fd);
        if (!named.empty()) unlink(named.c_str());
        return false;
    };
    if (!WriteAll(fd, bytes) || fchmod(fd, mode) != 0 || fsync(fd) != 0) return fail(errno);
    if (unnamed) {
        named = LinkTemporary(fd, folder, name);
        if (named.empty()) return fail(errno);
    }
    int closed = close(fd);
    fd = -1;
    if (closed != 0) return fail(errno);
    if (rename(named.c_str(), target.c_str()) != 0) return fail(errno);
    // Make the rename itself durable.
    int dirfd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd >= 0) {
        fsync(dirfd);
        close(dirfd);
    }
    return true;
}

namespace {

// Blocks from this size on are mappings of their own, rounded up to whole huge pages; smaller
// ones come from the C allocator. A block only ever grows, so its size says which it is.
constexpr size_t MappedFrom = size_t{2} << 20;

size_t MappedSize(size_t bytes) {
    return (bytes + MappedFrom - 1) & ~(MappedFrom - 1);
}

void* MapBlock(size_t bytes) {
    void* block = mmap(nullptr, MappedSize(bytes), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    madvise(block, MappedSize(bytes), MADV_HUGEPAGE);  // a hint: refused is fine
    return block;
}

void* GrowBlock(void* block, size_t bytes, size_t newBytes) {
    if (newBytes < MappedFrom) return std::realloc(block, newBytes);
    if (bytes < MappedFrom) {
        void* mapped = MapBlock(newBytes);
        if (mapped && block) {
            std::memcpy(mapped, block, bytes);
            std::free(block);
        }
        return mapped;
    }
    if (MappedSize(newBytes) == MappedSize(bytes)) return block;
    void* moved = mremap(block, MappedSize(bytes), MappedSize(newBytes), MREMAP_MAYMOVE);
    if (moved == MAP_FAILED) return nullptr;
    madvise(moved, MappedSize(newBytes), MADV_HUGEPAGE);
    return moved;
}

void ReleaseBlock(void* block, size_t bytes) {
    if (bytes < MappedFrom)
        std::free(block);
    else
        munmap(block, MappedSize(bytes));
}

}  // namespace

TXRecordBlock::TMemory InstallLargeBlockMemory() {
    return TXRecordBlock::SetMemory({GrowBlock, ReleaseBlock});
}
