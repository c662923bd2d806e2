#include <quillet/quillet.h>

#include "api/EngineRegistry.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

using quillet::EngineRegistry;

TEST(EngineRegistry, InitialiseTwiceThenDestroy)
{
    EngineRegistry& registry = EngineRegistry::instance();
    const size_t before = registry.holderCount();
    EXPECT_EQ(quilletInitialize(), 0);
    EXPECT_EQ(quilletInitialize(), 1);
    EXPECT_TRUE(registry.currentThreadHasEngine());
    EXPECT_EQ(registry.holderCount(), before + 1);
    EXPECT_EQ(quilletDestory(), 0);
    EXPECT_FALSE(registry.currentThreadHasEngine());
    EXPECT_EQ(registry.holderCount(), before);
    EXPECT_EQ(quilletDestory(), 0);  // nothing left to tear down
    EXPECT_EQ(quilletInitialize(), 0);
    EXPECT_EQ(quilletDestory(), 0);
}

TEST(EngineRegistry, ThreadsKeepTheirOwnEngines)
{
    EngineRegistry& registry = EngineRegistry::instance();
    std::mutex mutex;
    std::condition_variable changed;
    int stage = 0;
    auto waitFor = [&](int wanted) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return stage >= wanted; });
    };
    auto advance = [&](int to) {
        std::lock_guard<std::mutex> lock(mutex);
        stage = to;
        changed.notify_all();
    };

    bool workerStillHasEngine = false;
    std::thread worker([&] {
        EXPECT_EQ(quilletInitialize(), 0);
        advance(1);
        waitFor(2);
        workerStillHasEngine = registry.currentThreadHasEngine();
        EXPECT_EQ(quilletDestory(), 0);
    });
    waitFor(1);
    // This thread never initialised: destroying here must not touch the
    // worker's engine, which it may be using.
    EXPECT_EQ(quilletDestory(), 0);
    EXPECT_EQ(quilletInitialize(), 0);
    advance(2);
    worker.join();
    EXPECT_TRUE(workerStillHasEngine);
    EXPECT_TRUE(registry.currentThreadHasEngine());
    EXPECT_EQ(quilletDestory(), 0);
}

TEST(EngineRegistry, ManyThreadsAtOnce)
{
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([] {
            for (int round = 0; round < 50; ++round) {
                EXPECT_EQ(quilletInitialize(), 0);
                EXPECT_EQ(quilletInitialize(), 1);
                EXPECT_EQ(quilletDestory(), 0);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
}
