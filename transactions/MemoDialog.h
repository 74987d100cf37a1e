// The "Edit Memo" dialog, as a port: one edit of up to 89 characters under the label "&Memo:".
// The row's command fills the buffer with the memo, the port runs the dialog, the command stores
// what comes back. The program implements it with a real dialog, the tests with scripted answers.
#pragma once

#include <cstddef>
#include <string>

#include "core/PortSlot.h"

class TXItem;

struct TMemoBuffer {
    static constexpr size_t MemoMax = 89;  // as the record's memo field holds
    std::string memo;
};

class TMemoDialogPort {
public:
    virtual ~TMemoDialogPort() = default;
    // True on OK, with the memo as the user left it.
    virtual bool EditMemo(TMemoBuffer& buffer) = 0;
};

// The port in use; never null (until one is set, the dialog is always cancelled).
extern TPortSlot<TMemoDialogPort> MemoDialogs;

// "Edit Mem&o" is offered for a row that is neither a part of a multiple nor inert.
bool CanEditMemo(const TXItem& item);
// Runs the dialog on the row's memo; OK stores the text as the row's memo, which commits the row
// and tells the open views. True when a memo was stored.
bool EditMemo(TXItem& item);
