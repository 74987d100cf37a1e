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
};
