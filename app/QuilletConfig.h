// The user's preferences: "Quillet.cfg", one TQuilletConfig holding the option record and the
// named settings.
#pragma once

#include <cstdint>
#include <string>

#include "core/ObjectStream.h"
#include "core/QuilletOptions.h"
#include "core/SettingsList.h"

class TPlatformPort;
class TQuilletData;

class TQuilletConfig : public TStreamableBase {
public:
    TQuilletConfig() = default;
    const char* streamableName() const override { return "TQuilletConfig"; }

    TQuilletOptions options;
    TSettingsList settings;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TQuilletConfig"; }
        uint32_t ClassVersion() const override { return 3; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TQuilletConfig* Config() const { return static_cast<TQuilletConfig*>(GetObject()); }
    };
};

// Finds, loads and saves the configuration file. One per program run.
class TConfigFile {
public:
    TConfigFile(TPlatformPort& platform, const TScreenPort& screen);

    // Works out the path ("<config folder>/Quillet/Quillet.cfg"), creating the folder and
    // carrying a file over once from the older location. Falls back to "Quillet.cfg" in the
    // current directory when no folder can be found.
    const std::string& FindPath();
    const std::string& Path() const { return path; }
    void SetPath(const std::string& p) { path = p; }

    // Reads the file; a missing or unreadable one is replaced at once by a default one.
    // Returns false when that default could not be written (error says why).
    // A file that is there but cannot be read is kept as "Quillet.cfg.bad" beside it first, and
    // the user is told once; something that is no regular file is left alone and not replaced.
    bool Load(std::string* error = nullptr);
    // Writes the whole file anew, through the platform's atomic replacement so that a crash
    // never leaves it half written; false (error says why) when it could not be written.
    // The caller records the main window first: unless the window is maximised or minimised,
    // its current size and position go into the record, and maximised is set to whether it is.
    bool Save(std::string* error = nullptr);
    // Records the last file opened or saved (cut to 259 characters) and saves.
    void SetLastFile(const std::string& file);

    TQuilletConfig& Config() { return config; }
    const TQuilletConfig& Config() const { return config; }
    TQuilletOptions& Options() { return config.options; }
    TSettingsList& Settings() { return config.settings; }

private:
    TPlatformPort& platform;
    const TScreenPort& screen;
    std::string path;
    TQuilletConfig config;
};
