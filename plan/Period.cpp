#include "plan/Period.h"

#include "core/TarnStringList.h"

const char* const PeriodNames[Period::Count] = {
    "None",      "Weekly",    "Biweekly",   "Semimonthly", "Monthly",
    "Bimonthly", "Quarterly", "Semiannual", "Annual",
};

uint32_t PeriodsPerYear(uint32_t period) {
    static constexpr uint32_t factors[Period::Count] = {0, 52, 26, 24, 12, 6, 4, 2, 1};
    return period < Period::Count ? factors[period] : 0;
}

std::unique_ptr<TTarnStringList> TPeriod::GetStringList(uint32_t skipNone) const {
    auto list = std::make_unique<TTarnStringList>();
    for (uint32_t id = skipNone == 1 ? 1 : 0; id < Period::Count; ++id)
        list->Add(PeriodNames[id]);
    return list;
}

uint32_t TPeriod::FindId(const std::string& name) const {
    for (uint32_t id = 0; id < Period::Count; ++id)
        if (SameTextNoCase(PeriodNames[id], name)) return id;
    return Period::None;
}

void TPeriod::GetName(char* buffer, size_t capacity, uint32_t id) const {
    CopyToBuffer(buffer, capacity, id < Period::Count ? PeriodNames[id] : "");
}

TMoney ConvertPeriodAmount(TMoney amount, uint32_t from, uint32_t to) {
    if (from == to) return amount;
    double cents = static_cast<double>(amount.Cents());
    // "None" has no factor, so only the other side's factor applies.
    if (uint32_t perYear = PeriodsPerYear(from)) cents *= perYear;
    if (uint32_t perYear = PeriodsPerYear(to)) cents /= perYear;
    return TMoney(cents / 100.0);
}
