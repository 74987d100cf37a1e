// The operating-system services the domain needs, behind an interface it owns. The programs
// give the real implementation (platform/); tests give temporary folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TPlatformPort {
public:
    virtual ~TPlatformPort() = default;
    // The per-user folder configuration files live in ($XDG_CONFIG_HOME, default ~/.config);
    // empty when it cannot be found.
    virtual std::string ConfigFolder() = 0;
    // The per-user folder an older configuration may be carried over from ($XDG_DATA_HOME,
    // default ~/.local/share); empty when it cannot be found.
    virtual std::string OlderConfigFolder() = 0;
    // Replaces the file at path with bytes so that a crash or a full disk never leaves it half
    // written. On failure returns false and says why in error.
    virtual bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes,
                             std::string& error) = 0;

    // The user's documents folder ($XDG_DOCUMENTS_DIR, default ~/Documents); empty when unknown.
    virtual std::string DocumentsFolder() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& path) = 0;
    // Creates the folder and its parents; an existing folder is no error.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Renames from to to, replacing a file at to.
    virtual bool MoveFile(const std::string& from, const std::string& to) = 0;
    // Copies from to to, replacing a file at to as the atomic replacement does.
    virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
    // Deletes the file; a missing one is no error.
    virtual bool RemoveFile(const std::string& path) = 0;
};
