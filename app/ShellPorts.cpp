#include "app/ShellPorts.h"

#include <ctime>

int64_t TSystemClock::Now() {
    return static_cast<int64_t>(std::time(nullptr));
}

TDate TSystemClock::Today() {
    return TDate::Today();
}
