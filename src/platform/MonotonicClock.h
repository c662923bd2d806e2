#pragma once

#include <cstdint>

namespace quillet::platform {

// Milliseconds since an arbitrary start; never goes backwards.
int64_t monotonicMilliseconds();

}  // namespace quillet::platform
