// A filter dialog port for tests.
#pragma once

#include <deque>
#include <functional>

#include "transactions/FilterDialogs.h"

// Answers the "Transaction Filter" dialog from a queue of edits; an empty queue cancels.
class TScriptedFilterDialogs : public TFilterDialogPort {
public:
    std::deque<std::function<void(TFilterCriteria&)>> edits;
    TFilterDialogBuffer last;  // as the dialog was opened

    bool EditFilter(TFilterDialogBuffer& buffer) override {
        last = buffer;
        if (edits.empty()) return false;
        edits.front()(buffer.criteria);
        edits.pop_front();
        return true;
    }

private:
    TPortInstall<TFilterDialogPort> installed{FilterDialogs, *this};
};
