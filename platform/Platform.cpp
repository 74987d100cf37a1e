#include "platform/Platform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

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

bool ReplaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                           std::string& error) {
    namespace fs = std::filesystem;
    fs::path target(path);
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    auto fail = [&](int err) {
        error = std::strerror(err);
        close(fd);
        unlink(name.data());
        return false;
    };
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    // Keep the permissions of the file being replaced; new files get the usual 0666 & ~umask.
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    if (fsync(fd) != 0) return fail(errno);
    if (close(fd) != 0) {
        error = std::strerror(errno);
        unlink(name.data());
        return false;
    }
    if (rename(name.data(), path.c_str()) != 0) {
        error = std::strerror(errno);
        unlink(name.data());
        return false;
    }
    // Make the rename itself durable.
    int dirfd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirfd >= 0) {
        fsync(dirfd);
        close(dirfd);
    }
    return true;
}
