#include "views/XViewCommands.h"

#include "core/UIPort.h"
#include "transactions/EditableFilter.h"
#include "transactions/Filters.h"
#include "transactions/MemoDialog.h"
#include "transactions/Transfers.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"
#include "views/XViewList.h"

namespace {

constexpr const char* DeleteQuestion = "Are you sure you want to delete this Transaction?";
constexpr const char* EraseQuestion = "Are you sure you want to erase this Transaction?";
constexpr const char* CloseQuestion =
    "You have entered an Envelope transaction that is not a transfer to another Envelope.  Such "
    "transactions have no effect on the balance.  You should either delete the transaction or "
    "make it a transfer to another envelope.  Close view anyway?";

bool Confirm(const char* question) {
    return UI().Message("Quillet", question, TMsgButtons::YesNo, TMsgIcon::Exclamation) ==
           TMsgResult::Yes;
}

// One more use of a row while a command runs: the command's own notices may reload the window
// and give the window's use back.
class THeldRow {
public:
    explicit THeldRow(TXItem& row) : store(row.Manager()), item(store.GetItem(row.GetId())) {}
    ~THeldRow() {
        if (item) store.Release(item);
    }
    THeldRow(const THeldRow&) = delete;
    THeldRow& operator=(const THeldRow&) = delete;
    TXItem* get() const { return item; }

private:
    TXManager& store;
    TXItem* item;
};

bool IsPreset(TXViewCommand command) {
    return command >= TXViewCommand::ViewAllUnreconciled;
}

TQuickFilter PresetOf(TXViewCommand command) {
    switch (command) {
        case TXViewCommand::ViewUnreconciledDeposits:
            return TQuickFilter::UnreconciledDeposits;
        case TXViewCommand::ViewUnreconciledChecks:
            return TQuickFilter::UnreconciledChecks;
        case TXViewCommand::ViewUnreconciledNonChecks:
            return TQuickFilter::UnreconciledNonChecks;
        case TXViewCommand::ViewNewlyImported:
            return TQuickFilter::NewlyImported;
        default:
            return TQuickFilter::AllUnreconciled;
    }
}

void SwitchPreset(TEditableFilter& filter, TXViewCommand command) {
    const bool on = !filter.IsQuickFilterOn(PresetOf(command));
    switch (PresetOf(command)) {
        case TQuickFilter::AllUnreconciled:
            return filter.ViewAllUnreconciled(on);
        case TQuickFilter::UnreconciledDeposits:
            return filter.ViewUnreconciledDeposits(on);
        case TQuickFilter::UnreconciledChecks:
            return filter.ViewUnreconciledChecks(on);
        case TQuickFilter::UnreconciledNonChecks:
            return filter.ViewUnreconciledNonChecks(on);
        case TQuickFilter::NewlyImported:
            return filter.ViewNewlyImported(on);
    }
}

}  // namespace

TXItem* TXViewCommands::Row(uint32_t row) const {
    return row ? list.GetRow(row) : nullptr;
}

TXCommandState TXViewCommands::State(TXViewCommand command, uint32_t rowNumber) const {
    if (command >= TXViewCommand::EditFilter) {
        if (!filter) return {};
        return {true, IsPreset(command) && filter->IsQuickFilterOn(PresetOf(command))};
    }
    const TXItem* row = Row(rowNumber);
    if (!row) return {};
    const bool live = !row->Record().IsInert();
    switch (command) {
        case TXViewCommand::Delete:
        case TXViewCommand::Erase:
            return {live};
        case TXViewCommand::EditMemo:
            return {CanEditMemo(*row)};
        case TXViewCommand::NextNumber:
            return {row->CanFillNextNumber()};
        case TXViewCommand::ClearToggle:
            if (kind == TXViewKind::Account) return {row->CanToggleAccountCleared()};
            if (kind == TXViewKind::Envelope) return {row->CanToggleEnvelopeCleared()};
            return {};
        case TXViewCommand::Today:
            return {row->CanSetDateToday()};
        case TXViewCommand::Multiple:
            return {CanCreateMultiple(*row)};
        case TXViewCommand::ApplyTemplate:
            return {row->CanApplyTemplate()};
        case TXViewCommand::Transfer:
            return {CanCreateTransfer(*row)};
        case TXViewCommand::SelectEnvelope:
            return {CanSelectEnvelope(*row)};
        default:
            return {};
    }
}

TXCommandOutcome TXViewCommands::Run(TXViewCommand command, uint32_t rowNumber) {
    if (!State(command, rowNumber).enabled) return TXCommandOutcome::Nothing;
    if (command >= TXViewCommand::EditFilter) {
        if (command == TXViewCommand::EditFilter) {
            if (!filter->Edit()) return TXCommandOutcome::Nothing;
        } else if (command == TXViewCommand::ClearFilter) {
            filter->Reset();
        } else {
            SwitchPreset(*filter, command);
        }
        return TXCommandOutcome::FilterChanged;
    }
    if (command == TXViewCommand::Delete) {
        if (!Confirm(DeleteQuestion)) return TXCommandOutcome::Nothing;
        list.DeleteRow(rowNumber);
        return TXCommandOutcome::RowsChanged;
    }
    THeldRow held(*Row(rowNumber));
    TXItem* row = held.get();
    if (!row) return TXCommandOutcome::Nothing;
    bool changed = true;
    switch (command) {
        case TXViewCommand::Erase:
            if (!Confirm(EraseQuestion)) return TXCommandOutcome::Nothing;
            row->Erase();
            break;
        case TXViewCommand::EditMemo:
            changed = EditMemo(*row);
            break;
        case TXViewCommand::NextNumber:
            row->FillNextNumber();
            break;
        case TXViewCommand::ClearToggle:
            if (kind == TXViewKind::Account)
                row->ToggleAccountCleared();
            else
                row->ToggleEnvelopeCleared();
            break;
        case TXViewCommand::Today:
            row->SetDateToday();
            break;
        case TXViewCommand::Multiple:
            // Opening the multiple's window is the command's answer even when nothing changed.
            CreateMultiple(*row);
            break;
        case TXViewCommand::ApplyTemplate:
            row->ApplyTemplate();
            break;
        case TXViewCommand::Transfer:
            changed = CreateTransfer(*row);
            break;
        case TXViewCommand::SelectEnvelope:
            changed = SelectEnvelope(*row);
            break;
        default:
            changed = false;
    }
    return changed ? TXCommandOutcome::RowsChanged : TXCommandOutcome::Nothing;
}

bool TXViewCommands::MayClose() const {
    if (!list.AnyRowMatches(TEnvelopeNoTransferFilter())) return true;
    return UI().Message("Quillet", CloseQuestion, TMsgButtons::YesNo, TMsgIcon::Stop) ==
           TMsgResult::Yes;
}
