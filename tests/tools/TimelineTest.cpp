#include <gtest/gtest.h>

#include "tools/render/Timeline.h"

namespace render {
namespace {

TEST(Timeline, TransportChangeCountsInTheBlockItTakesEffectOnly) {
    const Timeline fromStart(Options{}, 1000.0, 100);
    EXPECT_TRUE(fromStart.transportAt(0).playing && fromStart.transportAt(0).changed);
    EXPECT_FALSE(fromStart.transportAt(1).changed);
    EXPECT_EQ(fromStart.transportAt(3).position, 300);

    // Start and stop in the same block of 100 frames: the transport never plays.
    Options options;
    options.playAtSeconds = 0.21;
    options.stopAtSeconds = 0.29;
    const Timeline blip(options, 1000.0, 100);
    for (std::int64_t block = 0; block < 5; ++block) {
        const TransportState state = blip.transportAt(block);
        EXPECT_FALSE(state.playing || state.changed || state.position != 0) << block;
    }
}

}  // namespace
}  // namespace render
