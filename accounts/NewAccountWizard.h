// The new-account wizard: after a new budget's plan is set up, the user enters each account as
// it stands on the last bank statement. Every account gets one starting-balance transaction in
// "Unallocated", so the new budget starts with the account total equal to the envelope total.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Date.h"
#include "core/IdObjectList.h"
#include "core/PortSlot.h"
#include "core/TarnStringList.h"

class TQuilletData;

// "Add New Account": the form as the dialog exchanges it with its controls.
struct TAccountWizardBuffer {
    static constexpr size_t NameChars = 31;
    static constexpr size_t DescriptionChars = 1023;

    std::string name;                            // "Account Name:"
    std::string description;                     // "Description:"
    float closingBalance = 0;                    // "Closing Balance:", currency units
    TDate closingDate;                           // "Closing Date"
    uint32_t kind = TAccountTypeList::Checking;  // "Account Type:"
};

// The button that closed one page of the dialog.
enum class TAccountWizardButton { AddAccount, Finish, Cancel };

// Runs the dialog once over the buffer: the user edits it and presses a button. The buffer comes
// back as the form stands, whatever the button.
class TAccountWizardPort {
public:
    virtual ~TAccountWizardPort() = default;
    virtual TAccountWizardButton RunPage(TAccountWizardBuffer& buffer) = 0;
};

// The port in use; never null (until one is set, every page is cancelled).
extern TPortSlot<TAccountWizardPort> AccountWizardDialog;

inline constexpr const char* AccountWizardCaption = "Add New Account";
inline constexpr const char* AccountWizardText =
    "Enter Account Information from your last Bank statement.  Use a negative sign (-1.00) for "
    "balances below zero.  Once you enter your last Account, press the Finish button to save the "
    "new file.";
inline constexpr const char* StartingBalanceEnvelope = "Unallocated";

// A closing balance in cents, rounded half a cent away from zero; a balance of 20,000,000 or
// more either way is taken as a typing error and gives 0.
int32_t ClosingBalanceCents(float units);

class TAccountWizard {
public:
    explicit TAccountWizard(TQuilletData& document) : document(document) {}

    // Adds the account of one filled form with its starting balance. True when the wizard may go
    // on: also for an empty name, which adds nothing. False for a name already added in this run
    // (the user is told) or when the account could not be made.
    bool AddAccount(const TAccountWizardBuffer& form);
    // The whole dialog through the port: true when closed by Finish, false when cancelled.
    bool Run();

    const TTarnStringList& AddedNames() const { return added; }

private:
    // The envelope id the starting balances go to, made when the budget lacks it.
    uint32_t StartingEnvelope();

    TQuilletData& document;
    TTarnStringList added;
};

// The wizard without a dialog: each form is added as "Add Account" would, then "Finish". False,
// with the reason, at the first form refused (what was added before stays in the document).
bool AddAccountsHeadless(TQuilletData& document, const std::vector<TAccountWizardBuffer>& forms,
                         std::string& error);
