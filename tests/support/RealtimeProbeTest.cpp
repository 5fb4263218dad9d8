#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#include "tests/support/RealtimeProbe.h"

using tidewalker::testing::RealtimeProbe;

TEST(RealtimeProbe, SeesAllocationsAndLocksOfItsThreadOnly) {
    RealtimeProbe probe;
    EXPECT_EQ(probe.counts().allocations, 0u);
    auto p = std::make_unique<int>(3);
    EXPECT_GE(probe.counts().allocations, 1u);
    if (RealtimeProbe::countsMallocAndLocks()) {
        const auto before = probe.counts().allocations;
        void* volatile raw = std::malloc(16);  // volatile: the pair must not be optimised away
        std::free(raw);
        EXPECT_EQ(probe.counts().allocations, before + 1);
        std::mutex m;
        const auto locksBefore = probe.counts().locks;
        { std::lock_guard<std::mutex> hold(m); }
        EXPECT_EQ(probe.counts().locks, locksBefore + 1);
    }
}
