// How often an amount recurs: the nine plan periods, their names and the conversion of amounts
// between them. Templates carry a period, every plan column holds its cells in one, and the plan
// is shown in one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/IdObjectList.h"
#include "core/Money.h"

namespace Period {
inline constexpr uint32_t None = 0;
inline constexpr uint32_t Weekly = 1;
inline constexpr uint32_t Biweekly = 2;
inline constexpr uint32_t Semimonthly = 3;
inline constexpr uint32_t Monthly = 4;
inline constexpr uint32_t Bimonthly = 5;
inline constexpr uint32_t Quarterly = 6;
inline constexpr uint32_t Semiannual = 7;
inline constexpr uint32_t Annual = 8;
inline constexpr uint32_t Count = 9;
}  // namespace Period

// The one table of period names, indexed by period id.
extern const char* const PeriodNames[Period::Count];

// How many times a year the period recurs; 0 for "None" and for any id outside the table.
uint32_t PeriodsPerYear(uint32_t period);

// The period table as an id list, so that an id combo box can offer periods. Stateless: one
// instance may serve any number of controls.
class TPeriod : public TIdObjectList {
public:
    // Flag 1 exactly leaves out "None" (the list then starts at "Weekly").
    std::unique_ptr<TTarnStringList> GetStringList(uint32_t skipNone) const override;
    // Letter case ignored; 0 ("None") when no name matches.
    uint32_t FindId(const std::string& name) const override;
    // The empty text for an id past the table.
    void GetName(char* buffer, size_t capacity, uint32_t id) const override;
    using TIdObjectList::GetName;
};

// The amount expressed per `from` period, expressed per `to` period. Equal periods return the
// amount unchanged; otherwise it goes through cents per year and is rounded half a cent away
// from zero, so a conversion there and back may not give the amount again: callers always
// convert from the value they hold.
TMoney ConvertPeriodAmount(TMoney amount, uint32_t from, uint32_t to);
