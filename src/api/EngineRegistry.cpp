#include "api/EngineRegistry.h"

#include "pdf/PdfEngine.h"
#include "platform/ThreadId.h"

#include <new>

namespace quillet {

EngineHolder::~EngineHolder() = default;

EngineRegistry& EngineRegistry::instance()
{
    // Never destroyed: threads may still call in while the process exits.
    static EngineRegistry* registry = new EngineRegistry();
    return *registry;
}

EngineHolder* EngineRegistry::holderOf(uint64_t threadId)
{
    const auto it = holders_.find(threadId);
    return it == holders_.end() ? nullptr : it->second.get();
}

EngineHolder* EngineRegistry::currentHolder()
{
    const uint64_t self = platform::currentThreadId();
    std::lock_guard<std::mutex> lock(mutex_);
    return holderOf(self);
}

int EngineRegistry::initializeCurrentThread()
{
    // The name tables are built on their first use by a package reader, not
    // here: a conversion of any other format never pays for them.
    const uint64_t self = platform::currentThreadId();
    EngineHolder* holder;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        holder = holderOf(self);
        if (holder == nullptr) {
            auto created = std::make_unique<EngineHolder>();
            holder = created.get();
            holders_.emplace(self, std::move(created));
        }
    }

    std::lock_guard<std::recursive_mutex> lock(holder->mutex);
    if (holder->engine)
        return 1;
    holder->engine.reset(new (std::nothrow) PdfEngine());
    if (!holder->engine)
        return -3;
    const int result = holder->engine->initialise();
    if (result < 0)
        holder->engine.reset();
    return result;
}

int EngineRegistry::destroyCurrentThread()
{
    EngineHolder* holder = currentHolder();
    if (holder == nullptr)
        return 0;
    {
        std::lock_guard<std::recursive_mutex> lock(holder->mutex);
        if (holder->engine) {
            holder->engine->teardown();
            holder->engine.reset();
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    holders_.erase(platform::currentThreadId());
    return 0;
}

size_t EngineRegistry::holderCount()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return holders_.size();
}

bool EngineRegistry::currentThreadHasEngine()
{
    EngineHolder* holder = currentHolder();
    if (holder == nullptr)
        return false;
    std::lock_guard<std::recursive_mutex> lock(holder->mutex);
    return holder->engine != nullptr;
}

}  // namespace quillet
