#include "app/QuilletConfig.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "app/PlatformPort.h"
#include "app/Registration.h"
#include "core/UIPort.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* FileName = "Quillet.cfg";
constexpr const char* FolderName = "Quillet";

}  // namespace

// ---------------------------------------------------------------------------------------------
// The persistent configuration

TStreamableBase* TQuilletConfig::Streamer::Read(ipstream& is, uint32_t version) const {
    TQuilletConfig* config = Config();
    config->options.Read(is);
    // Class version 2 and older files hold no named settings.
    if (version >= 3) config->settings.Read(is);
    return config;
}

void TQuilletConfig::Streamer::Write(opstream& os) const {
    Config()->options.Write(os);
    Config()->settings.Write(os);
}

// ---------------------------------------------------------------------------------------------
// The configuration file

TConfigFile::TConfigFile(TPlatformPort& p, const TScreenPort& s) : platform(p), screen(s) {
    RegisterQuilletClasses();
    config.options.SetScreenDefaults(screen);
}

const std::string& TConfigFile::FindPath() {
    std::string base = platform.ConfigFolder();
    if (base.empty()) {
        path = FileName;
        return path;
    }
    std::error_code ec;
    fs::path folder = fs::path(base) / FolderName;
    // An existing folder is no error; a folder that cannot be made shows up when saving.
    fs::create_directories(folder, ec);
    path = (folder / FileName).string();

    if (fs::exists(path, ec) || ec) return path;
    std::string older = platform.OlderConfigFolder();
    if (older.empty()) return path;
    fs::path from = fs::path(older) / FolderName / FileName;
    if (fs::is_regular_file(from, ec)) {
        // Carried over once: without overwrite the copy refuses an existing file, so a
        // configuration made meanwhile is never replaced.
        fs::copy_file(from, path, fs::copy_options::none, ec);
    }
    return path;
}

bool TConfigFile::Load(std::string* error) {
    std::unique_ptr<TQuilletConfig> loaded;
    {
        ifpstream is(path);
        try {
            loaded = is.ReadObject<TQuilletConfig>();
        } catch (const TXBase&) {
            // A record naming a class we do not know: the file is not a configuration.
            is.setstate(pstream::Failed);
        }
        is.close();
        if (!is.good()) loaded.reset();
    }
    if (loaded) {
        config.options = loaded->options;
        config.options.KeepInLimits();
        config.settings = loaded->settings;
        // The oldest layout stores no placement: it keeps the screen defaults.
        if (config.options.layoutRead < 2) config.options.SetScreenDefaults(screen);
        return true;
    }
    config.options = TQuilletOptions();
    config.options.SetScreenDefaults(screen);
    config.settings.Clear();
    std::error_code ec;
    fs::file_status status = fs::symlink_status(path, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(fs::status(path, ec))) {
            // A folder, a pipe or a device is not ours to replace.
            UI().Message(
                "Quillet",
                "\"" + path + "\" is not a regular file; the default configuration is used.",
                TMsgButtons::Ok, TMsgIcon::Exclamation);
            return true;
        }
        // The user's settings may still be recoverable from the unreadable file.
        std::string bad = path + ".bad";
        fs::rename(path, bad, ec);
        UI().Message("Quillet",
                     ec ? "\"" + path + "\" cannot be read; it is replaced by the defaults."
                        : "\"" + path + "\" cannot be read; it is kept as \"" + bad +
                              "\" and replaced by the defaults.",
                     TMsgButtons::Ok, TMsgIcon::Exclamation);
    }
    return Save(error);
}

bool TConfigFile::Save(std::string* error) {
    omemstream os;
    os << &config;
    std::string why;
    if (!os.good()) {
        why = "the configuration could not be serialised";
    } else if (platform.ReplaceFile(path, os.bytes(), why)) {
        return true;
    }
    if (error) *error = why;
    return false;
}

void TConfigFile::SetLastFile(const std::string& file) {
    config.options.lastFile = file.substr(0, TQuilletOptions::LastFileCapacity - 1);
    Save();
}
