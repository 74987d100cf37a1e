#include "app/ConfigDialogs.h"

#include <algorithm>

#include "app/QuilletConfig.h"
#include "core/Text.h"

namespace {

int32_t Flag(bool b) {
    return b ? 1 : 0;
}

uint32_t Clamp(TLedgerWidth field, uint32_t value) {
    TWidthRange r = LedgerWidthRange(field);
    return std::clamp(value, r.min, r.max);
}

uint32_t WidthOf(TLedgerWidth field, const std::string& text) {
    return Clamp(field, ReadLeadingUnsigned(text.substr(0, WidthTextLimit)));
}

std::string WidthText(TLedgerWidth field, uint32_t value) {
    return std::to_string(Clamp(field, value));
}

}  // namespace

std::string AcceptDigits(const std::string& typed, size_t limit) {
    std::string digits;
    for (char c : typed) {
        if (digits.size() >= limit) break;
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}

TMainConfigBuffer FillMainConfig(const TQuilletOptions& o) {
    TMainConfigBuffer b;
    b.showStatusBar = o.showStatusBar != 0;
    b.showControlBar = o.showControlBar != 0;
    b.reopenLastFile = o.reopenLastFile != 0;
    b.autoSaveMinutes = std::to_string(o.autoSaveMinutes);
    b.backupLevels = std::to_string(o.backupLevels);
    b.confirmClearedOnClose = o.confirmClearedOnClose != 0;
    b.confirmImportOnClose = o.confirmImportOnClose != 0;
    b.updateCheckDays = std::to_string(o.updateCheckDays);
    return b;
}

void ApplyMainConfig(const TMainConfigBuffer& b, TQuilletOptions& o) {
    o.showStatusBar = Flag(b.showStatusBar);
    o.showControlBar = Flag(b.showControlBar);
    o.reopenLastFile = Flag(b.reopenLastFile);
    // The fields take digits only, so the text is the number; an empty field is 0.
    o.autoSaveMinutes = ReadLeadingUnsigned(AcceptDigits(b.autoSaveMinutes, MainConfigDigits));
    o.backupLevels = ReadLeadingUnsigned(AcceptDigits(b.backupLevels, MainConfigDigits));
    o.confirmClearedOnClose = Flag(b.confirmClearedOnClose);
    o.confirmImportOnClose = Flag(b.confirmImportOnClose);
    o.updateCheckDays = ReadLeadingUnsigned(AcceptDigits(b.updateCheckDays, MainConfigDigits));
}

TEnvelopeListConfigBuffer FillEnvelopeListConfig(const TQuilletOptions& o) {
    return {o.envShowRootBalance != 0, o.envShowBundleBalances != 0,
            o.envShowAssociationBalances != 0, o.envShowEnvelopeBalances != 0};
}

void ApplyEnvelopeListConfig(const TEnvelopeListConfigBuffer& b, TQuilletOptions& o) {
    o.envShowRootBalance = Flag(b.showRootBalance);
    o.envShowBundleBalances = Flag(b.showBundleBalances);
    o.envShowAssociationBalances = Flag(b.showAssociationBalances);
    o.envShowEnvelopeBalances = Flag(b.showEnvelopeBalances);
}

TAccountListConfigBuffer FillAccountListConfig(const TQuilletOptions& o) {
    return {o.actShowRootBalance != 0, o.actShowGroupBalances != 0, o.actShowAccountBalances != 0,
            o.actShowReconcileBalances != 0};
}

void ApplyAccountListConfig(const TAccountListConfigBuffer& b, TQuilletOptions& o) {
    o.actShowRootBalance = Flag(b.showRootBalance);
    o.actShowGroupBalances = Flag(b.showGroupBalances);
    o.actShowAccountBalances = Flag(b.showAccountBalances);
    o.actShowReconcileBalances = Flag(b.showReconcileBalances);
}

TWidthRange LedgerWidthRange(TLedgerWidth field) {
    switch (field) {
        case TLedgerWidth::Code:
            return {5, 10};
        case TLedgerWidth::PayableTo:
            return {20, 50};
        case TLedgerWidth::Memo:
            return {0, 50};
        case TLedgerWidth::Amount:
            return {10, 15};
        case TLedgerWidth::EnvelopeLabel:
        case TLedgerWidth::AccountLabel:
            return {15, 30};
    }
    return {0, 0xFFFFFFFFu};
}

TWidthCheck CheckLedgerWidth(TLedgerWidth field, const std::string& text) {
    uint32_t typed = ReadLeadingUnsigned(text.substr(0, WidthTextLimit));
    uint32_t value = WidthOf(field, text);
    return {value, std::to_string(value), value != typed};
}

TTransactionViewSetupBuffer FillTransactionViewSetup(const TQuilletOptions& o) {
    TTransactionViewSetupBuffer b;
    b.codeWidth = WidthText(TLedgerWidth::Code, o.codeWidth);
    b.payableToWidth = WidthText(TLedgerWidth::PayableTo, o.payableToWidth);
    b.memoWidth = WidthText(TLedgerWidth::Memo, o.memoWidth);
    b.amountWidth = WidthText(TLedgerWidth::Amount, o.amountWidth);
    b.envelopeLabelWidth = WidthText(TLedgerWidth::EnvelopeLabel, o.envelopeLabelWidth);
    b.accountLabelWidth = WidthText(TLedgerWidth::AccountLabel, o.accountLabelWidth);
    b.includeYear = o.includeYear != 0;
    b.flyByMemo = o.flyByMemo != 0;
    b.autoCorrectYear = o.autoCorrectYear != 0;
    return b;
}

void ApplyTransactionViewSetup(const TTransactionViewSetupBuffer& b, TQuilletOptions& o) {
    o.codeWidth = WidthOf(TLedgerWidth::Code, b.codeWidth);
    o.payableToWidth = WidthOf(TLedgerWidth::PayableTo, b.payableToWidth);
    o.memoWidth = WidthOf(TLedgerWidth::Memo, b.memoWidth);
    o.amountWidth = WidthOf(TLedgerWidth::Amount, b.amountWidth);
    o.envelopeLabelWidth = WidthOf(TLedgerWidth::EnvelopeLabel, b.envelopeLabelWidth);
    o.accountLabelWidth = WidthOf(TLedgerWidth::AccountLabel, b.accountLabelWidth);
    o.includeYear = Flag(b.includeYear);
    o.flyByMemo = Flag(b.flyByMemo);
    o.autoCorrectYear = Flag(b.autoCorrectYear);
}
