// A new budget from nothing: the plan is set up (which makes the envelopes), the accounts are
// entered with their starting balances, and the file is written. Cancelling any step discards
// the new budget whole.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "accounts/NewAccountWizard.h"
#include "plan/AllocationPlan.h"

class TPlatformPort;
class TQuilletData;

// Makes doc the open document for as long as it lives, then restores the one before.
class TCurrentDocument {
public:
    explicit TCurrentDocument(TQuilletData& doc);
    ~TCurrentDocument();
    TCurrentDocument(const TCurrentDocument&) = delete;
    TCurrentDocument& operator=(const TCurrentDocument&) = delete;

private:
    TQuilletData* previous;
};

// The plan set-up and the account wizard through their dialogs. The document is open while they
// run and is left open on success; null (the document destroyed, no document open) when either
// is cancelled. Naming and writing the file is the caller's.
std::unique_ptr<TQuilletData> CreateNewBudget(const std::string& planDefinitionPath);

// Everything a new budget is made from when nobody is asked.
struct TNewBudgetInput {
    TNewPlanInput plan;
    std::vector<TAccountWizardBuffer> accounts;
};

// The same sequence without any dialog, written to path. Refuses a path where a file already
// is. False, with the reason, when a step fails; nothing is written then.
bool CreateNewBudgetFile(const TNewBudgetInput& input, const std::string& path,
                         TPlatformPort& platform, std::string& error);
