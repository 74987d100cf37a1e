// The options the budgeting rules read while the program runs ("Auto-Correct Year", "Include
// Year" ...). The program points this at its configuration once it is loaded; until then, and in
// tests that set nothing, the options of a new configuration apply.
#pragma once

#include "app/QuilletConfig.h"

const TQuilletOptions& CurrentOptions();
// The options must outlive their use; null restores the defaults.
void SetCurrentOptions(const TQuilletOptions* options);
