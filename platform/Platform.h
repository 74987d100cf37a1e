// The real operating-system services on Linux.
#pragma once

#include "app/PlatformPort.h"

class TLinuxPlatform : public TPlatformPort {
public:
    std::string ConfigFolder() override;
    std::string OlderConfigFolder() override;
    bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes,
                     std::string& error) override;

    std::string DocumentsFolder() override;
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool MoveFile(const std::string& from, const std::string& to) override;
    bool CopyFile(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
};

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over path.
bool ReplaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                           std::string& error);
