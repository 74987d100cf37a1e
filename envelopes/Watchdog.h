// The watchdog of envelopes and bundles: on every idle pass a watched node whose balance sinks
// below its threshold (below zero when it has none) warns once per further drop.
#pragma once

#include <cstdint>
#include <string>

struct TWatchState {
    bool firstPass = true;    // set when the node is made or read: the first pass only looks
    int64_t lastBalance = 0;  // cents, as seen on the last pass that looked
};

// One idle pass over one node. Answers the warning to show, or an empty text for none.
// kind is "Envelope" or "Bundle"; threshold is in currency units, as the record holds it.
std::string WatchCheck(TWatchState& state, bool watchdogOn, int64_t balance, float threshold,
                       const char* kind, const std::string& name);

// Shows a warning WatchCheck gave (nothing for an empty text).
void ShowWatchWarning(const std::string& warning);
