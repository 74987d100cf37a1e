// Scripted stand-ins for the account tree's dialogs and for the rest of the budget.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "accounts/AccountDialogs.h"
#include "accounts/AccountReferences.h"
#include "core/IdObjectList.h"

// Each dialog call takes the next scripted edit; without one it cancels. An edit changes the
// buffer and says whether OK was pressed.
class TScriptedAccountDialogs : public TAccountDialogPort {
public:
    TScriptedAccountDialogs() { SetAccountDialogPort(this); }
    ~TScriptedAccountDialogs() override { SetAccountDialogPort(nullptr); }

    std::deque<std::function<bool(TAccountBuffer&)>> accountEdits;
    std::deque<std::function<bool(TAccountGroupBuffer&)>> groupEdits;
    std::deque<std::function<bool(TAccountRootBuffer&)>> rootEdits;
    std::deque<std::function<bool(TChooseAccountBuffer&)>> choices;
    std::vector<std::pair<uint32_t, bool>> ledgersOpened;
    int refreshes = 0;
    TAccountBuffer lastAccount;  // as the dialog was given it
    TChooseAccountBuffer lastChoice;

    bool EditAccount(TAccountBuffer& buffer) override {
        lastAccount = buffer;
        return Run(accountEdits, buffer);
    }
    bool EditAccountGroup(TAccountGroupBuffer& buffer) override { return Run(groupEdits, buffer); }
    bool EditAccountRoot(TAccountRootBuffer& buffer) override { return Run(rootEdits, buffer); }
    bool ChooseAccount(TChooseAccountBuffer& buffer) override {
        lastChoice = buffer;
        return Run(choices, buffer);
    }
    void OpenAccountLedger(uint32_t id, bool reconcile) override {
        ledgersOpened.emplace_back(id, reconcile);
    }
    void RefreshTransactionViews() override { ++refreshes; }

    // An edit that types a name (and optionally more) and presses OK.
    static std::function<bool(TAccountBuffer&)> Account(std::string name, uint32_t kind = 1,
                                                        std::string description = "") {
        return [=](TAccountBuffer& b) {
            b.name = name;
            b.kind = kind;
            b.description = description;
            return true;
        };
    }
    static std::function<bool(TAccountGroupBuffer&)> Group(std::string name) {
        return [=](TAccountGroupBuffer& b) {
            b.name = name;
            return true;
        };
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

class TFakeEnvelopeNames : public TIdObjectList {
public:
    std::vector<std::string> names;  // id n is names[n - 1]
    std::unique_ptr<TTarnStringList> GetStringList(uint32_t) const override {
        auto list = std::make_unique<TTarnStringList>();
        for (const auto& n : names)
            list->Add(n);
        return list;
    }
    uint32_t FindId(const std::string& name) const override {
        for (size_t i = 0; i < names.size(); ++i)
            if (SameTextNoCase(names[i], name)) return static_cast<uint32_t>(i + 1);
        return 0;
    }
    void GetName(char* buffer, size_t capacity, uint32_t id) const override {
        CopyToBuffer(buffer, capacity, id >= 1 && id <= names.size() ? names[id - 1] : "None");
    }
};

class TFakeAccountReferences : public TAccountReferences {
public:
    TFakeEnvelopeNames envelopes;
    std::vector<uint32_t> accountsWithTransactions;
    std::vector<uint32_t> deleted;

    bool HasAccountTransactions(uint32_t id) override {
        for (uint32_t a : accountsWithTransactions)
            if (a == id) return true;
        return false;
    }
    void DeleteAccountTransactions(uint32_t id) override {
        deleted.push_back(id);
        std::erase(accountsWithTransactions, id);
    }
    uint32_t CountEnvelopes() override { return static_cast<uint32_t>(envelopes.names.size()); }
    uint32_t FindEnvelopeId(const std::string& name) override { return envelopes.FindId(name); }
    const TIdObjectList* EnvelopeNames() override { return &envelopes; }
};
