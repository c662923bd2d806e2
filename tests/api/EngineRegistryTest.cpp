#include <quillet/quillet.h>

#include "api/EngineRegistry.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

using quillet::EngineRegistry;

TEST(EngineRegistry, EachThreadPreparesAndReleasesOnlyItsOwnEngine)
{
    EngineRegistry& registry = EngineRegistry::instance();
    const size_t before = registry.holderCount();
    EXPECT_EQ(quilletInitialize(), 0);
    EXPECT_EQ(quilletInitialize(), 1);
    EXPECT_EQ(registry.holderCount(), before + 1);
    // A thread that never initialised destroys nothing; one that did, only its own.
    std::async(std::launch::async, [] { EXPECT_EQ(quilletDestory(), 0); }).get();
    std::async(std::launch::async, [] {
        EXPECT_EQ(quilletInitialize(), 0);
        EXPECT_EQ(quilletDestory(), 0);
    }).get();
    EXPECT_TRUE(registry.currentThreadHasEngine());
    EXPECT_EQ(quilletDestory(), 0);
    EXPECT_FALSE(registry.currentThreadHasEngine());
    EXPECT_EQ(registry.holderCount(), before);
    EXPECT_EQ(quilletDestory(), 0);

    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([] {
            for (int round = 0; round < 50; ++round) {
                EXPECT_EQ(quilletInitialize(), 0);
                EXPECT_EQ(quilletDestory(), 0);
            }
        });
    for (auto& thread : threads)
        thread.join();
}
