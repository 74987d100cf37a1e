// The commands of a transaction view on its current row: when each is offered, whether it carries
// a check mark, and what it does. The window puts them in its context menu, its "&Edit" and
// "&Transactions" menus and on the control bar; the rules stay here.
#pragma once

#include <cstdint>

#include "views/XViewSubject.h"

class TEditableFilter;
class TXItem;
class TXViewList;

enum class TXViewCommand {
    Delete,
    Erase,
    EditMemo,
    NextNumber,
    ClearToggle,
    Today,
    Multiple,
    ApplyTemplate,
    Transfer,
    SelectEnvelope,
    EditFilter,
    ClearFilter,
    ViewAllUnreconciled,
    ViewUnreconciledDeposits,
    ViewUnreconciledChecks,
    ViewUnreconciledNonChecks,
    ViewNewlyImported,
};

struct TXCommandState {
    bool enabled = false;
    bool checked = false;
};

// What the view does after a command.
enum class TXCommandOutcome {
    Nothing,        // refused, cancelled or answered No: nothing changed
    RowsChanged,    // records changed; the open views heard of it and repaint
    FilterChanged,  // the view lays itself out again and reloads in its filter's mode
};

class TXViewCommands {
public:
    // The filter is the view's own (null for a multiple's view).
    TXViewCommands(TXViewKind kind, TXViewList& list, TEditableFilter* filter)
        : kind(kind), list(list), filter(filter) {}

    // For the row of the window under the cursor (0: none).
    TXCommandState State(TXViewCommand command, uint32_t row) const;
    // Runs a command that is offered; the questions ("Are you sure ...") go through the UI port.
    TXCommandOutcome Run(TXViewCommand command, uint32_t row);

    // Whether the view may close: a row that is an envelope entry with an amount but no transfer
    // moves no balance, so the user is asked (only Yes closes).
    bool MayClose() const;

private:
    TXItem* Row(uint32_t row) const;

    TXViewKind kind;
    TXViewList& list;
    TEditableFilter* filter;
};
