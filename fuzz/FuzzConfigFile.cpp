// Any bytes given as "Quillet.cfg": read as far as they go, never a crash; whatever was read
// writes and reads back.
// sources: @domain
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "core/ObjectStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegisterQuilletClasses();
    std::unique_ptr<TQuilletConfig> config;
    try {
        imemstream is(data, size);
        config = is.ReadObject<TQuilletConfig>();
    } catch (const TXBase&) {
        return 0;  // an unregistered class name: the program falls back to the defaults
    }
    if (!config) return 0;
    omemstream os;
    os << config.get();
    imemstream back(os.bytes());
    std::unique_ptr<TQuilletConfig> again = back.ReadObject<TQuilletConfig>();
    if (!again || !back.good()) std::abort();
    return 0;
}
