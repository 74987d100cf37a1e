// File and folder operations of the Linux platform, on std::filesystem. Errors are answered as
// false and never thrown: the callers decide which failures matter.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/Platform.h"

namespace fs = std::filesystem;

std::string TLinuxPlatform::DocumentsFolder() {
    if (const char* v = std::getenv("XDG_DOCUMENTS_DIR"); v && v[0] == '/') return v;
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/Documents";
    return {};
}

bool TLinuxPlatform::FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool TLinuxPlatform::FolderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool TLinuxPlatform::CreateFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

bool TLinuxPlatform::MoveFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    return !ec;
}

bool TLinuxPlatform::CopyFile(const std::string& from, const std::string& to) {
    // Through the atomic replacement, so that a copy cut short never leaves half a backup.
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) return false;
    std::string error;
    return ReplaceFileAtomically(to, bytes, error);
}

bool TLinuxPlatform::RemoveFile(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
    return !ec;
}
