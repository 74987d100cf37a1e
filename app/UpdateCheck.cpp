#include "app/UpdateCheck.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "app/Version.h"

int BuildNumberFromTag(std::string_view tag) {
    int index = 0;
    size_t pos = 0;
    while (pos < tag.size()) {
        pos = tag.find_first_not_of(" $", pos);
        if (pos == std::string_view::npos) break;
        size_t end = tag.find_first_of(" $", pos);
        if (end == std::string_view::npos) end = tag.size();
        if (++index == 2) {
            int value = 0;
            std::from_chars(tag.data() + pos, tag.data() + end, value);
            return value;
        }
        pos = end;
    }
    return 0;
}

int QuilletBuildNumber() {
    return BuildNumberFromTag(QuilletChangeTag);
}

TUpdateRequest MakeUpdateRequest(const char* urlFromEnvironment) {
    TUpdateRequest request;
    request.url = urlFromEnvironment && *urlFromEnvironment ? urlFromEnvironment : DefaultUpdateUrl;
    return request;
}

TUpdateRequest MakeUpdateRequest() {
    return MakeUpdateRequest(std::getenv(UpdateUrlVariable));
}

std::string UpdateElement(std::string_view reply, std::string_view name) {
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    size_t start = reply.find(open);
    if (start == std::string_view::npos) return {};  // absent, or written empty as "<name/>"
    start += open.size();
    size_t end = reply.find(close, start);
    if (end == std::string_view::npos) return {};
    return std::string(reply.substr(start, end - start));
}

namespace {

// A decimal integer as the reply writes it; 0 for empty, non-numeric or out-of-range text.
int ElementInteger(std::string_view reply, std::string_view name) {
    const std::string text = UpdateElement(reply, name);
    size_t pos = text.find_first_not_of(" \t\r\n");
    if (pos == std::string::npos) return 0;
    if (text[pos] == '+') ++pos;
    int value = 0;
    auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    (void)end;
    return error == std::errc() ? value : 0;
}

std::string Format(const char* pattern, int a, int b, int c) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

}  // namespace

TUpdateReply ParseUpdateReply(std::string_view reply) {
    reply = reply.substr(0, MaxUpdateReply);
    TUpdateReply result;
    result.major = ElementInteger(reply, "major");
    result.minor = ElementInteger(reply, "minor");
    result.build = ElementInteger(reply, "build");
    result.downloadLink = UpdateElement(reply, "dlink");
    return result;
}

TUpdateVerdict JudgeUpdateReply(std::string_view reply, int runningBuild) {
    TUpdateVerdict verdict;
    if (reply.empty()) {
        verdict.message = UpdateErrorText;
        return verdict;
    }
    const TUpdateReply newest = ParseUpdateReply(reply);
    if (std::tie(newest.major, newest.minor, newest.build) >
        std::tie(QuilletVersionMajor, QuilletVersionMinor, runningBuild)) {
        verdict.outcome = TUpdateOutcome::Newer;
        verdict.message = Format(
            "New version %d.%d Build %d is available.\n\nWould you like to go online now to "
            "download the update?",
            newest.major, newest.minor, newest.build);
        verdict.downloadLink = newest.downloadLink;
    } else {
        verdict.outcome = TUpdateOutcome::Current;
        verdict.message =
            Format("You have version %d.%d Build %d, which is the most current version.",
                   QuilletVersionMajor, QuilletVersionMinor, runningBuild);
    }
    return verdict;
}

bool TUpdateReminder::Pass(bool ready, uint32_t intervalDays, int64_t secondsSinceStart,
                           const TDate& today, TDate& lastCheck) {
    if (!ready || handled || intervalDays == 0 || secondsSinceStart <= 60) return false;
    handled = true;
    // Due when the last check plus the interval is not after today; a missing date is long past.
    const bool due =
        lastCheck.IsEmpty() || static_cast<int64_t>(today.DaysBetween(lastCheck)) >= intervalDays;
    lastCheck = today;
    return due;
}
