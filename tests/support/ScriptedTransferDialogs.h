// An account transfer dialog port for tests.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "transactions/TransferDialogs.h"

// Each opening tries its edits in turn, pressing OK after each: the dialog stays open while the
// check refuses and is cancelled when the edits run out.
class TScriptedTransferDialogs : public TTransferDialogPort {
public:
    using TEdit = std::function<void(TActXferBuffer&)>;
    std::deque<std::vector<TEdit>> openings;
    std::vector<TActXferBuffer> shown;

    bool AccountTransfer(TActXferBuffer& b) override {
        shown.push_back(b);
        if (openings.empty()) return false;
        std::vector<TEdit> edits = openings.front();
        openings.pop_front();
        for (const TEdit& edit : edits) {
            edit(b);
            if (b.check(b)) return true;
        }
        return false;
    }
    void OkTo(uint32_t account) {
        openings.push_back({[account](TActXferBuffer& b) { b.to.account = account; }});
    }

private:
    TPortInstall<TTransferDialogPort> installed{TransferDialogs, *this};
};
