// Whether a newer build exists: the request the program sends, what it makes of the reply, and
// when it offers the check by itself. The network call itself belongs to the Qt side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Date.h"

inline constexpr const char* UpdateAgent = "QuilletUpdate";
inline constexpr const char* UpdateCaption = "Check for Updates";
inline constexpr const char* UpdateUrlVariable = "QUILLET_UPDATE_URL";
inline constexpr const char* DefaultUpdateUrl =
    "https://www.quillet.org/secure/updates.aspx?lnk=32&product=quillet";
inline constexpr const char* QuilletWebsiteUrl = "https://www.quillet.org/";
// Only this much of a reply is ever read.
inline constexpr size_t MaxUpdateReply = 1024;
inline constexpr int UpdateTimeoutSeconds = 15;

inline constexpr const char* UpdateErrorText =
    "Quillet encountered an error while trying to check for updates.\n\nBe sure that you are "
    "connected to the Internet and that your firewall is configured to allow Quillet to make the "
    "connection.";
inline constexpr const char* UpdateReminderText =
    "Would you like to go online now to check for Quillet updates?\n\nThis reminder can be "
    "disabled in the main configuration by setting the Check interval to 0 days.\n\nYou can check "
    "for updates at any time by selecting it under the Help menu.";

// The running build, the second token of the change tag split at blanks and "$".
int BuildNumberFromTag(std::string_view tag);
int QuilletBuildNumber();

struct TUpdateRequest {
    std::string url;
    std::string agent = UpdateAgent;
};
// The address comes from QUILLET_UPDATE_URL when it is set and not empty, else our own.
TUpdateRequest MakeUpdateRequest(const char* urlFromEnvironment);
TUpdateRequest MakeUpdateRequest();  // reads the environment

struct TUpdateReply {
    int major = 0;
    int minor = 0;
    int build = 0;
    std::string downloadLink;
};
// Reads the elements "major", "minor", "build" and "dlink" from at most MaxUpdateReply bytes.
TUpdateReply ParseUpdateReply(std::string_view reply);
// The text of element name: between "<name>" and the "</name>" after it; empty when missing,
// unclosed or written "<name/>".
std::string UpdateElement(std::string_view reply, std::string_view name);

enum class TUpdateOutcome { Failed, Current, Newer };
struct TUpdateVerdict {
    TUpdateOutcome outcome = TUpdateOutcome::Failed;
    std::string message;       // shown with UpdateCaption; a yes/no question when Newer
    std::string downloadLink;  // opened on yes when Newer
};
// What to tell the user about a reply; an empty reply means nothing could be read.
TUpdateVerdict JudgeUpdateReply(std::string_view reply, int runningBuild = QuilletBuildNumber());

// The once-per-run offer to check. Pass answers whether to ask UpdateReminderText now; after the
// first pass that counts it moves the last-check date to today, asked or not.
class TUpdateReminder {
public:
    // ready: not busy, no import running and the main window enabled.
    bool Pass(bool ready, uint32_t intervalDays, int64_t secondsSinceStart, const TDate& today,
              TDate& lastCheck);
    bool Handled() const { return handled; }

private:
    bool handled = false;
};
