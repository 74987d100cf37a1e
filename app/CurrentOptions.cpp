#include "app/CurrentOptions.h"

namespace {

const TQuilletOptions defaults;
const TQuilletOptions* current = &defaults;

}  // namespace

const TQuilletOptions& CurrentOptions() {
    return *current;
}

void SetCurrentOptions(const TQuilletOptions* options) {
    current = options ? options : &defaults;
}
