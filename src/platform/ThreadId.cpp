#include "platform/ThreadId.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace quillet::platform {

uint64_t currentThreadId()
{
    return static_cast<uint64_t>(::syscall(SYS_gettid));
}

}  // namespace quillet::platform
