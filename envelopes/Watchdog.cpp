#include "envelopes/Watchdog.h"

#include "core/Money.h"
#include "core/UIPort.h"

std::string WatchCheck(TWatchState& state, bool watchdogOn, int64_t balance, float threshold,
                       const char* kind, const std::string& name) {
    if (state.firstPass) {
        // Never warn about the state a file was opened in, only about what happens after.
        state.firstPass = false;
        state.lastBalance = balance;
        return {};
    }
    // While the watchdog is off the last balance stays as it was, so turning it back on warns
    // about a drop that happened meanwhile.
    if (!watchdogOn) return {};
    // The float threshold is compared unrounded, unlike the cents shown by the row mark.
    bool below = static_cast<double>(balance) < static_cast<double>(threshold) * 100.0 &&
                 balance < state.lastBalance;
    state.lastBalance = balance;
    if (!below) return {};
    return std::string(kind) + " \"" + name + "\" is below " +
           (threshold == 0.0f ? "Zero" : "its Threshold") + ". (" +
           TMoney::FromCents(balance).Format(MoneyThousands) + ")";
}

void ShowWatchWarning(const std::string& warning) {
    if (!warning.empty()) UI().Message("Quillet", warning, TMsgButtons::Ok, TMsgIcon::Stop);
}
