// Any bytes given as "Quillet.cfg": read as far as they go, never a crash; whatever was read
// writes and reads back.
// sources: @domain
#include <cstdint>
#include <cstdlib>

#include "app/QuilletConfig.h"
#include "core/ObjectStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegisterQuilletClasses();
    TQuilletConfig* config = nullptr;
    try {
        imemstream is(data, size);
        is >> config;
    } catch (const TXBase&) {
        return 0;  // an unregistered class name: the program falls back to the defaults
    }
    if (!config) return 0;
    omemstream os;
    os << config;
    imemstream back(os.bytes());
    TQuilletConfig* again = nullptr;
    back >> again;
    if (!again || !back.good()) std::abort();
    delete again;
    delete config;
    return 0;
}
