// The user's preferences: "Quillet.cfg", one TQuilletConfig holding the option record and the
// named settings.
#pragma once

#include <cstdint>
#include <string>

#include "app/SettingsList.h"
#include "core/Date.h"
#include "core/ObjectStream.h"

class TPlatformPort;
class TQuilletData;

// The screen the default window placement is worked out from. The program gives the real
// screen; tests and the console program a fixed 1920 x 1080.
class TScreenPort {
public:
    virtual ~TScreenPort() = default;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
};

class TFixedScreen : public TScreenPort {
public:
    TFixedScreen(int w = 1920, int h = 1080) : width(w), height(h) {}
    int ScreenWidth() const override { return width; }
    int ScreenHeight() const override { return height; }

private:
    int width, height;
};

// The option record, fields in declaration order.
struct TQuilletOptions {
    int32_t windowWidth = 0, windowHeight = 0;  // main window size when last restored
    int32_t windowX = 0, windowY = 0;           // main window position when last restored
    bool maximised = false;
    int32_t showStatusBar = 1;
    int32_t showControlBar = 1;
    int32_t reopenLastFile = 1;
    uint32_t autoSaveMinutes = 5;  // 0 turns auto-save off
    uint32_t backupLevels = 5;     // 0 turns backups off
    int32_t confirmClearedOnClose = 1;
    int32_t confirmImportOnClose = 1;
    uint32_t updateCheckDays = 30;  // 0 never reminds
    TDate lastUpdateCheck{1, 1, 2008};
    int32_t envShowRootBalance = 1;
    int32_t envShowBundleBalances = 1;
    int32_t envShowAssociationBalances = 0;
    int32_t envShowEnvelopeBalances = 1;
    int32_t actShowRootBalance = 1;
    int32_t actShowGroupBalances = 1;
    int32_t actShowAccountBalances = 1;
    int32_t actShowReconcileBalances = 0;
    uint32_t codeWidth = 7;
    uint32_t payableToWidth = 35;
    uint32_t memoWidth = 0;
    uint32_t amountWidth = 11;
    uint32_t envelopeLabelWidth = 17;
    uint32_t accountLabelWidth = 17;
    int32_t includeYear = 0;
    int32_t flyByMemo = 0;
    int32_t autoCorrectYear = 1;
    // At most 259 characters. A path, kept in the file system's own encoding (not converted
    // to the code page of record text) so that reopening finds the same file.
    std::string lastFile;

    // Layout number of the record last read from a file; 0 when the record was never read.
    // Records of layout 1 carry no window placement, so their reader keeps the screen defaults.
    uint32_t layoutRead = 0;

    // Defaults that depend on the screen: 4/5 of its size, one tenth in from the top left.
    void SetScreenDefaults(const TScreenPort& screen);

    static constexpr uint32_t Layout = 8;
    static constexpr size_t LastFileCapacity = 260;  // terminator included
    // Always writes the current layout. Reads every older layout; fields an older layout does
    // not hold keep their values.
    void Write(opstream& os) const;
    void Read(ipstream& is);
    // Brings values a damaged or hand-edited file may hold into the limits the program works
    // in: ledger widths into the ranges of their dialog, numbers of minutes, days and backups
    // to what their fields can take, and the window onto a plausible screen.
    void KeepInLimits();
};

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
