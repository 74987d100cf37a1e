// Scripted stand-ins for the account tree's dialogs and for the rest of the budget.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "accounts/AccountDialogs.h"
#include "accounts/AccountReferences.h"
#include "core/IdObjectList.h"

// Each dialog takes the next scripted edit, which changes the buffer and says whether OK was
// pressed; without one the dialog is cancelled.
class TScriptedAccountDialogs : public TAccountDialogPort {
public:
    TScriptedAccountDialogs() { AccountDialogs.Set(this); }
    ~TScriptedAccountDialogs() override { AccountDialogs.Set(nullptr); }

    std::deque<std::function<bool(TAccountBuffer&)>> accountEdits;
    std::deque<std::function<bool(TAccountGroupBuffer&)>> groupEdits;
    std::deque<std::function<bool(TAccountRootBuffer&)>> rootEdits;
    std::deque<std::function<bool(TChooseAccountBuffer&)>> choices;
    TChooseAccountBuffer lastChoice;  // as the dialog was given it

    bool EditAccount(TAccountBuffer& b) override { return Run(accountEdits, b); }
    bool EditAccountGroup(TAccountGroupBuffer& b) override { return Run(groupEdits, b); }
    bool EditAccountRoot(TAccountRootBuffer& b) override { return Run(rootEdits, b); }
    bool ChooseAccount(TChooseAccountBuffer& b) override {
        lastChoice = b;
        return Run(choices, b);
    }

    void NameGroup(const std::string& name) {
        groupEdits.push_back([name](TAccountGroupBuffer& b) {
            b.name = name;
            return true;
        });
    }

private:
    template <class Buffer>
    static bool Run(std::deque<std::function<bool(Buffer&)>>& script, Buffer& buffer) {
        if (script.empty()) return false;
        auto edit = std::move(script.front());
        script.pop_front();
        return edit(buffer);
    }
};

// Envelopes are only names here (id n is the n-th); transactions only a set of account ids.
class TFakeAccountReferences : public TAccountReferences {
public:
    TSimpleIdObjectList envelopes{EnvelopeTexts};
    std::vector<uint32_t> accountsWithTransactions;
    std::vector<uint32_t> deleted;
    bool noEnvelopes = false;

    bool HasAccountTransactions(uint32_t id) override {
        return std::find(accountsWithTransactions.begin(), accountsWithTransactions.end(), id) !=
               accountsWithTransactions.end();
    }
    void DeleteAccountTransactions(uint32_t id) override { deleted.push_back(id); }
    uint32_t CountEnvelopes() override { return noEnvelopes ? 0 : 3; }
    uint32_t FindEnvelopeId(const std::string& name) override { return envelopes.FindId(name); }
    const TIdObjectList* EnvelopeNames() override { return &envelopes; }

    static constexpr const char* EnvelopeTexts[] = {"Unallocated", "Rent", "Food", nullptr};
};
