#include "reports/ReportText.h"

#include "core/SettingsList.h"

std::string LedgerAmount(TMoney amount) {
    return amount.Format(MoneyThousands | MoneyParentheses);
}

std::string PlainAmount(TMoney amount) {
    return amount.Format(MoneyThousands);
}

std::string CutText(const std::string& text, size_t length) {
    return text.size() > length ? text.substr(0, length) : text;
}

std::string TextModeBytes(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(c);
    }
    return bytes;
}

void ThisMonth(TDate today, TDate& from, TDate& to) {
    from = TDate(1, today.Month(), today.Year());
    to = TDate(today.DaysInMonth(), today.Month(), today.Year());
}

namespace {

struct TColumnKey {
    const char* key;
    bool TEnvelopeActivityColumns::*box;
};

constexpr TColumnKey ColumnKeys[] = {
    {ReportKeys::ColAlloc, &TEnvelopeActivityColumns::alloc},
    {ReportKeys::ColExpense, &TEnvelopeActivityColumns::expense},
    {ReportKeys::ColTransIn, &TEnvelopeActivityColumns::transIn},
    {ReportKeys::ColTransOut, &TEnvelopeActivityColumns::transOut},
    {ReportKeys::ColAllIn, &TEnvelopeActivityColumns::allIn},
    {ReportKeys::ColAllOut, &TEnvelopeActivityColumns::allOut},
    {ReportKeys::ColStartBal, &TEnvelopeActivityColumns::startBal},
    {ReportKeys::ColEndBal, &TEnvelopeActivityColumns::endBal},
};

}  // namespace

TEnvelopeActivityColumns LoadActivityColumns(const TSettingsList& settings) {
    const TEnvelopeActivityColumns defaults;
    TEnvelopeActivityColumns columns;
    for (const TColumnKey& k : ColumnKeys)
        columns.*k.box = settings.GetInt(k.key, defaults.*k.box ? 1 : 0) != 0;
    return columns;
}

void StoreActivityColumns(TSettingsList& settings, const TEnvelopeActivityColumns& columns) {
    for (const TColumnKey& k : ColumnKeys)
        settings.SetInt(k.key, columns.*k.box ? 1 : 0);
}

bool LoadEnvelopeLedgerOldFormat(const TSettingsList& settings) {
    return settings.GetInt(ReportKeys::EnvLgrOldFormat, 0) != 0;
}

void StoreEnvelopeLedgerOldFormat(TSettingsList& settings, bool oldFormat) {
    settings.SetInt(ReportKeys::EnvLgrOldFormat, oldFormat ? 1 : 0);
}
