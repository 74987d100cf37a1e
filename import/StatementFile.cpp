#include "import/StatementFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "import/OfxReader.h"
#include "import/QifReader.h"

namespace fs = std::filesystem;

TStatementFileStatus LoadStatementBytes(const std::string& path, std::string& bytes, size_t limit) {
    bytes.clear();
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return TStatementFileStatus::Missing;
    // Devices and pipes could block or never end; only plain files are statements.
    if (ec || status.type() != fs::file_type::regular) return TStatementFileStatus::Unreadable;

    std::ifstream in(path, std::ios::binary);
    if (!in) return TStatementFileStatus::Unreadable;
    // Read in pieces rather than trusting the size the file system reports, which may change
    // while the file is read; the size only helps to reserve the room.
    std::uintmax_t size = fs::file_size(path, ec);
    if (!ec) bytes.reserve(static_cast<size_t>(std::min<std::uintmax_t>(size, limit)));
    char chunk[1 << 16];
    while (in) {
        in.read(chunk, sizeof chunk);
        size_t got = static_cast<size_t>(in.gcount());
        if (bytes.size() + got > limit) {
            bytes.clear();
            return TStatementFileStatus::TooLarge;
        }
        bytes.append(chunk, got);
    }
    if (in.bad()) {
        bytes.clear();
        return TStatementFileStatus::Unreadable;
    }
    return TStatementFileStatus::Read;
}

TStatementFileStatus ReadOfxFile(const std::string& path, std::vector<TImportItem>& items,
                                 bool* cutShort) {
    items.clear();
    std::string bytes;
    TStatementFileStatus status = LoadStatementBytes(path, bytes);
    if (status == TStatementFileStatus::Read) items = ReadOfxStatement(bytes, cutShort);
    return status;
}

TStatementFileStatus ReadQifFile(const std::string& path, std::vector<TImportItem>& items,
                                 bool* cutShort) {
    items.clear();
    std::string bytes;
    TStatementFileStatus status = LoadStatementBytes(path, bytes);
    if (status == TStatementFileStatus::Read) items = ReadQifStatement(bytes, cutShort);
    return status;
}
