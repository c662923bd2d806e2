#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace quillet {

class PdfEngine;
struct PdfFamily;

// One record per thread that called quilletInitialize.
struct EngineHolder {
    PdfEngine* engine = nullptr;  // made by family
    const PdfFamily* family = nullptr;
    std::recursive_mutex mutex;  // guards engine
    ~EngineHolder();
    void dropEngine();
};

// Maps thread ids to engine holders. The registry mutex is held only while
// the map is searched or changed, never while an engine starts or stops.
class EngineRegistry {
public:
    static EngineRegistry& instance();

    // quilletInitialize for the calling thread.
    int initializeCurrentThread();
    // quilletDestory for the calling thread; a thread without a holder
    // changes nothing, so another thread's engine is never torn down.
    int destroyCurrentThread();

    // Runs fn with the calling thread's engine (null without one) while its
    // holder stays locked. Only the owning thread removes a holder, so the
    // holder outlives the call.
    template <typename Fn>
    auto withCurrentEngine(Fn&& fn)
    {
        EngineHolder* holder = currentHolder();
        if (holder == nullptr)
            return fn(static_cast<PdfEngine*>(nullptr));
        std::lock_guard<std::recursive_mutex> lock(holder->mutex);
        return fn(holder->engine);
    }

    size_t holderCount();
    bool currentThreadHasEngine();

private:
    EngineHolder* holderOf(uint64_t threadId);
    EngineHolder* currentHolder();

    std::mutex mutex_;
    std::map<uint64_t, std::unique_ptr<EngineHolder>> holders_;
};

}  // namespace quillet
