// The windows the domain asks for, as one port: ledgers of an account or an envelope, the list
// of a multiple's parts, closing the views whose subject goes away, and redrawing the tree
// windows and the transaction views. Each open request also brings forward a window already
// open. The program implements it with its windows; until it is set, nothing opens or closes.
#pragma once

#include <cstdint>

#include "core/PortSlot.h"

enum class TLedgerMode { Normal, Reconcile };

class TWindowPort {
public:
    virtual ~TWindowPort() = default;
    virtual void OpenAccountLedger(uint32_t accountId, TLedgerMode mode) = 0;
    virtual void OpenEnvelopeLedger(uint32_t envelopeId, TLedgerMode mode) = 0;
    virtual void OpenMultipleView(uint32_t multipleId) = 0;
    // The open views of an account's or an envelope's transactions close: they are going away.
    virtual void CloseAccountViews(uint32_t accountId) = 0;
    virtual void CloseEnvelopeViews(uint32_t envelopeId) = 0;
    // The account and envelope windows redraw their balances.
    virtual void RefreshTreeWindows() = 0;
    // Every open transaction view redraws (they show account and envelope names).
    virtual void RefreshTransactionViews() = 0;
};

extern TPortSlot<TWindowPort> Windows;
