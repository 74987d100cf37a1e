// Amount expressions typed by the user: any text must give a finite number without crashing.
// sources: core/Money.cpp core/Date.cpp core/UIPort.cpp controls/EditText.cpp
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "controls/EditText.h"
#include "core/Money.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    double units = EvaluateAmount(text);
    if (!std::isfinite(units)) std::abort();

    TMoney money(units);
    if (money.Cents() > 10000000000000000 || money.Cents() < -10000000000000000) std::abort();
    for (unsigned flags = 0; flags < 16; ++flags)
        (void)money.Format(flags);

    // What a field shows must read back as the same cents (within the range doubles hold exactly).
    if (money.Cents() > -100000000000000 && money.Cents() < 100000000000000) {
        std::string shown = money.Format(MoneyThousands);
        if (TMoney(shown).Cents() != money.Cents()) std::abort();
    }
    (void)EditFloatFocusLost(text);
    (void)EditUnsignedFocusLost(text, TUnsignedRange{1, 100});
    return 0;
}
