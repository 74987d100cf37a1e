// The windows the transaction rules ask for, as a port: ledgers that must close because their
// transactions are going away, the tree windows that show balances, and the window listing the
// parts of a multiple. The program implements it with its windows; until it is set, nothing
// opens or closes.
#pragma once

#include <cstdint>

class TXViewPort {
public:
    virtual ~TXViewPort() = default;
    // The open views of an account's or an envelope's transactions close: they are going away.
    virtual void CloseAccountViews(uint32_t accountId) = 0;
    virtual void CloseEnvelopeViews(uint32_t envelopeId) = 0;
    // The account and envelope windows redraw their balances.
    virtual void RefreshTreeWindows() = 0;
    // Opens (or brings forward) the window that lists the parts of a multiple.
    virtual void OpenMultipleView(uint32_t multipleId) = 0;
};

// The port in use; never null.
TXViewPort& XViews();
void SetXViewPort(TXViewPort* port);  // null restores the port that does nothing
