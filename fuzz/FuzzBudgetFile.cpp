// Any bytes given as a budget file: a document or a clear refusal, never a crash. A document
// that was read must write and read back.
// sources: @domain
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/BudgetFile.h"
#include "core/QuilletData.h"
#include "core/UIPort.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    std::string error;
    std::unique_ptr<TQuilletData> doc = ReadBudget(bytes, error);
    if (!doc) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    std::vector<uint8_t> written = WriteBudget(*doc);
    std::unique_ptr<TQuilletData> again = ReadBudget(written, error);
    if (!again) std::abort();
    return 0;
}
