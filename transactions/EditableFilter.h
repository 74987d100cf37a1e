// The user's filter of a ledger view or a report dialog: which account or envelope node the owner
// shows, plus the criteria the user chose in the "Transaction Filter" dialog or through one of
// the quick presets of the view's "Transaction Filter" menu. It belongs to its owner and is never
// written to the budget file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Date.h"
#include "transactions/FilterDialogs.h"
#include "transactions/Filters.h"

// The quick presets, in the order their switches are kept.
enum class TQuickFilter : uint32_t {
    AllUnreconciled,        // "View All Unreconciled"
    UnreconciledNonChecks,  // "View Unreconciled Non-Checks"
    UnreconciledChecks,     // "View Unreconciled Checks"
    UnreconciledDeposits,   // "View Unreconciled Deposits"
    NewlyImported,          // "View Newly Imported Transactions"
};

class TEditableFilter : public TXFilter {
public:
    // Ledgers use account or envelope ledger mode with blank rows; reports use account ledger or
    // envelope group mode without view settings. The criteria start at their defaults.
    TEditableFilter(uint32_t mode, uint32_t id);

    // The tests in a fixed order; the first that fails rejects. Blank rows, when the mode offers
    // them, pass on the owner's tests alone.
    bool Match(const TXRecord& record) const override;

    uint32_t GetMode() const { return mode; }
    uint32_t GetId() const { return id; }
    void SetId(uint32_t newId) { id = newId; }

    // Runs the "Transaction Filter" dialog on a copy of the criteria. On OK the dialog's criteria
    // are in force and no quick preset is; on Cancel nothing changes. True on OK.
    bool Edit();
    // "Clear Filter": no preset, nothing active, every criterion at its default.
    void Reset();

    // Each preset starts from Reset; switched on it also chooses the reconcile layout.
    void ViewAllUnreconciled(bool on);
    void ViewUnreconciledNonChecks(bool on);
    void ViewUnreconciledChecks(bool on);
    void ViewUnreconciledDeposits(bool on);
    void ViewNewlyImported(bool on);
    // Whether a preset's switch is on (the view checks its menu item).
    bool IsQuickFilterOn(TQuickFilter which) const { return quick[static_cast<size_t>(which)]; }
    // Whether a preset or dialog criteria are in force.
    bool IsActive() const { return active; }
    bool IsReconcileView() const { return criteria.view == TViewChoice::Reconcile; }

    // Report dialogs drive the date part from their own date fields.
    bool IsDateRange() const { return criteria.date == TDateChoice::Range; }
    void SetDateRange(TDate from, TDate to);
    TDate GetFromDate() const { return criteria.from; }
    TDate GetToDate() const { return criteria.to; }
    void SetDateRangeChosen(bool on);

    const TFilterCriteria& GetCriteria() const { return criteria; }

    // The criteria a filter of this mode starts with: every "Any" choice, the normal layout, the
    // dates from the first of this month to today, an amount range of -100.00 to 100.00, and the
    // combo box on the first entry of its list (of the open budget; 0 when none is open).
    static TFilterCriteria DefaultCriteria(uint32_t mode);

private:
    void Preset(TQuickFilter which, bool on);
    // Whether the envelope is the node with nodeId or lies under it.
    static bool EnvelopeUnder(uint32_t envelopeId, uint32_t nodeId);

    uint32_t mode;
    uint32_t id;
    std::array<bool, 5> quick{};
    bool active = false;
    TFilterCriteria criteria;
};
