#pragma once

#include <cstddef>

namespace quillet::platform {

// Asks the system to back a large, not yet touched buffer with huge pages, so
// that filling it takes a few page faults instead of one per 4 KiB. Harmless
// where unsupported.
void adviseLargeBuffer(void* begin, size_t bytes);

}  // namespace quillet::platform
