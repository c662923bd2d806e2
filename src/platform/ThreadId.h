#pragma once

#include <cstdint>

namespace quillet::platform {

// The kernel's id of the calling thread: unique among live threads.
uint64_t currentThreadId();

}  // namespace quillet::platform
