// The presets of the date-range combo box that fills the From/To dates of the report dialogs.
// The combo box itself belongs to the toolkit; what each preset means lives here.
#pragma once

#include <string>

#include "core/Date.h"

enum class TDateRangePreset {
    UserDefined,
    ThisMonth,
    ThisQuarter,
    ThisYear,
    LastMonth,
    LastQuarter,
    LastYear,
};

inline constexpr int DateRangePresetCount = 7;
// The combo box's list, in this order; index i is TDateRangePreset(i).
extern const char* const DateRangePresetNames[DateRangePresetCount];

// The index of a preset's text (exact comparison), -1 when the text names none.
int FindDateRangePreset(const std::string& text);

// The range a preset stands for on the given day. "User Defined" stands for none: it returns
// false and leaves both dates alone (the combo box then hands the From edit the focus).
bool ApplyDateRangePreset(TDateRangePreset preset, TDate today, TDate& from, TDate& to);
