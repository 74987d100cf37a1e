// The real operating-system services on Linux.
#pragma once

#include "app/PlatformPort.h"
#include "transactions/XManager.h"

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

// Writes bytes to an unnamed temporary file beside path (a named one where the file system has no
// unnamed files), flushes it to disk, names it and renames it over path, so a kill at any moment
// leaves the old file or the new one and no temporary. A symbolic link is written through to
// its target. Temporaries a killed save left are removed; a read-only file or something that is
// not a plain file is refused.
bool ReplaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                           std::string& error);

// Lets large record blocks be mapped by the system (in huge pages where it offers them) and grow
// by remapping their pages instead of copying: a large budget then loads and takes many new
// records without a pass over fresh memory for each growth. Called once at start-up; answers the
// memory installed before.
TXRecordBlock::TMemory InstallLargeBlockMemory();
