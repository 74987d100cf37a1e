// The dialogs of the allocation plan, as a port: the plan fills a transfer buffer, the port runs
// the dialog, the plan reads the buffer back. The program implements it with real dialogs, the
// tests with scripted answers. Every call returns true on OK; a dialog changes its buffer only
// when the user confirms.
#pragma once

#include <string>
#include <vector>

#include "core/PortSlot.h"

class TAllocationPlan;
class TScreenPort;
class TSettingsList;

// "Edit Allocation Plan". The dialog works on the plan itself: its grid shows the plan's rows,
// its "View Period:" combo box sets the plan's view period, and "Create Template" and "Remove
// Template" call the plan's operations of those names. While it runs it registers itself with
// the plan (SetOpenDialog) to be told when to redraw.
struct TPlanDialogBuffer {
    TAllocationPlan* plan = nullptr;
    int width = 0;  // in: the outer size to open at, centred; out: the size it had last
    int height = 0;
};

// "Enter Monthly Income": "Income Source 1: " to "Income Source 4: ".
struct TMonthlyIncomeBuffer {
    float incomes[4] = {};  // currency units per month
};

// "Edit String", asking for one line of text.
struct TStringEntryBuffer {
    std::string title;
    std::string prompt;
    std::string text;  // in: the text offered; out: the text confirmed
};

// "Select Template": a list of names.
struct TChooseTemplateBuffer {
    std::string title;  // empty: the dialog's own caption
    std::vector<std::string> names;
    int selected = -1;  // 0-based; -1 for no selection, in and out
};

class TPlanDialogPort {
public:
    virtual ~TPlanDialogPort() = default;
    // True when the dialog ended with "Save and Close".
    virtual bool EditPlan(TPlanDialogBuffer& buffer) = 0;
    virtual bool EnterMonthlyIncome(TMonthlyIncomeBuffer& buffer) = 0;
    virtual bool GetString(TStringEntryBuffer& buffer) = 0;
    virtual bool ChooseTemplate(TChooseTemplateBuffer& buffer) = 0;

    // The screen the plan dialog's default size is worked out from (1920 x 1080 unless the
    // program gives its own), and the configuration settings where its size is remembered
    // (none: nothing is remembered).
    virtual const TScreenPort& Screen() const;
    virtual TSettingsList* ConfigSettings() { return nullptr; }
};

// The port in use; never null (until one is set, every dialog is cancelled).
extern TPortSlot<TPlanDialogPort> PlanDialogs;

// Told by the plan when what the open plan dialog shows has changed.
class TPlanView {
public:
    virtual ~TPlanView() = default;
    virtual void PlanChanged() = 0;
};
