#include "api/EngineRegistry.h"

#include "api/PdfFamilyLoader.h"
#include "pdf/PdfEntry.h"
#include "platform/ThreadId.h"

namespace quillet {

EngineHolder::~EngineHolder()
{
    dropEngine();
}

void EngineHolder::dropEngine()
{
    if (engine != nullptr)
        family->destroyEngine(engine);
    engine = nullptr;
}

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
    // Without the drivers no engine can be made: the first stage fails.
    const PdfFamily* family = loadPdfFamily();
    if (family == nullptr)
        return -1;
    int result = -3;
    holder->engine = family->createEngine(&result);
    holder->family = family;
    return holder->engine != nullptr ? 0 : result;
}

int EngineRegistry::destroyCurrentThread()
{
    EngineHolder* holder = currentHolder();
    if (holder == nullptr)
        return 0;
    {
        std::lock_guard<std::recursive_mutex> lock(holder->mutex);
        holder->dropEngine();
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
