#include "transactions/MemoDialog.h"

#include "transactions/XItem.h"

namespace {

// Used until the program sets its own: a headless run never changes a memo through a dialog
// nobody saw.
class TCancellingMemoDialogs : public TMemoDialogPort {
public:
    bool EditMemo(TMemoBuffer&) override { return false; }
};

TCancellingMemoDialogs cancelling;

}  // namespace

TPortSlot<TMemoDialogPort> MemoDialogs(cancelling);

bool CanEditMemo(const TXItem& item) {
    return !item.Record().IsPart() && !item.Record().IsInert();
}

bool EditMemo(TXItem& item) {
    if (!CanEditMemo(item)) return false;
    TMemoBuffer buffer{item.GetCellText(XColMemo)};
    if (!MemoDialogs().EditMemo(buffer)) return false;
    item.SetCellText(XColMemo, buffer.memo.substr(0, TMemoBuffer::MemoMax));
    return true;
}
