// The ledger grid as a screen reader sees it: a table of the visible rows, with the column
// headers, each cell's text and the current cell as the focus.
#pragma once

class TLedger;

// Registers the grid's accessibility interface with Qt (once; later calls do nothing).
void InstallLedgerAccessibility();
// Tells assistive technology that the current cell moved.
void NotifyLedgerFocus(TLedger* ledger);
