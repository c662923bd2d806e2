#include "platform/MonotonicClock.h"

#include <chrono>

namespace quillet::platform {

int64_t monotonicMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace quillet::platform
