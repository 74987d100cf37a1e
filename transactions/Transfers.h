// Transfers and multiples: the commands that turn a transaction into one half of a transfer, into
// a multiple split over envelopes, and back into a plain transaction. The records of a transfer or
// a multiple change together, and every amount moves through TXItem::ChangeAmount, so accounts
// and envelopes keep adding up to the same total through every conversion.
#pragma once

#include <cstdint>

#include "transactions/XRecord.h"

class TXItem;
class TXManager;

// --- Whether a command is offered for a row.
// An account record that is not a part of a multiple, or any envelope-only record.
bool CanCreateTransfer(const TXItem& item);
// Any account record, parts of multiples included.
bool CanCreateMultiple(const TXItem& item);
bool CanSelectEnvelope(const TXItem& item);

// --- The commands. Each answers whether the records changed; a refusal, a question answered No
// or a cancelled dialog leaves every record as it was.

// An account record becomes an account transfer, an envelope-only record an envelope transfer
// to an envelope the user chooses.
bool CreateTransfer(TXItem& item);

// A plain account transaction or an account transfer half becomes a multiple whose one part
// carries the amount in the old envelope (or the account's default envelope); the transfer's
// other half is deleted. The window listing the parts opens; for a multiple or one of its parts
// it only opens.
bool CreateMultiple(TXItem& item);

// Runs the "Account Transfer" dialog on this record and its present other half (or a new one in
// the first account). On OK, whatever the record was (plain, multiple or transfer half) it
// becomes the paying half of a transfer between the two chosen accounts, with a new record as the
// receiving half. Warns when the transfer lands within a month of the other account's first
// transaction, since its starting balance may already hold the amount.
bool CreateAccountTransfer(TXItem& item);

// An envelope-only record becomes one half of a transfer to the given envelope, or when none is
// given, to the envelope chosen in "Choose Envelope". A record that already is a half loses its
// old other half. Nothing happens for a target that is no envelope or is the record's own.
bool CreateEnvelopeTransfer(TXItem& item, uint32_t envelopeId = 0);

// Puts the record in the envelope chosen in "Choose Envelope". An account transfer half or a
// multiple becomes a plain transaction of its full amount there: the other half, or the parts,
// are deleted.
bool SelectEnvelope(TXItem& item);

// --- The multiple's window.

// The record a blank row of a multiple's window starts from: a part in the multiple's account and
// that account's default envelope, with the multiple's date and payable to (as memo), code "mult".
TXRecord MultiplePartTemplate(const TXItem& multiple);
