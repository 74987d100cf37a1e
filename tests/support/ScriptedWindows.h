// A window port for tests: installs itself for its lifetime and records every request.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/WindowPort.h"

class TRecordingWindows : public TWindowPort {
public:
    std::vector<std::pair<uint32_t, TLedgerMode>> accountLedgers, envelopeLedgers;
    std::vector<uint32_t> multiplesOpened, accountsClosed, envelopesClosed;
    int treeRefreshes = 0, viewRefreshes = 0;

    void OpenAccountLedger(uint32_t id, TLedgerMode mode) override {
        accountLedgers.emplace_back(id, mode);
    }
    void OpenEnvelopeLedger(uint32_t id, TLedgerMode mode) override {
        envelopeLedgers.emplace_back(id, mode);
    }
    void OpenMultipleView(uint32_t id) override { multiplesOpened.push_back(id); }
    void CloseAccountViews(uint32_t id) override { accountsClosed.push_back(id); }
    void CloseEnvelopeViews(uint32_t id) override { envelopesClosed.push_back(id); }
    void RefreshTreeWindows() override { ++treeRefreshes; }
    void RefreshTransactionViews() override { ++viewRefreshes; }

private:
    TPortInstall<TWindowPort> installed{Windows, *this};
};
