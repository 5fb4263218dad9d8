#include <gtest/gtest.h>

#include "tools/render/Timeline.h"

namespace render {
namespace {

TEST(Timeline, TransportThatStopsInTheBlockItStartsNeverPlays) {
    Options options;
    options.playAtSeconds = 0.21;
    options.stopAtSeconds = 0.29;  // both in block 2 at 100 frames per block
    const Timeline timeline(options, 1000.0, 100);
    for (std::int64_t block = 0; block < 5; ++block) {
        const TransportState state = timeline.transportAt(block);
        EXPECT_FALSE(state.playing) << block;
        EXPECT_FALSE(state.changed) << block;
        EXPECT_EQ(state.position, 0) << block;
    }
}

TEST(Timeline, PlayingFromTheStartCountsAsAChangeInTheFirstBlockOnly) {
    const Timeline timeline(Options{}, 1000.0, 100);
    EXPECT_TRUE(timeline.transportAt(0).playing);
    EXPECT_TRUE(timeline.transportAt(0).changed);
    EXPECT_FALSE(timeline.transportAt(1).changed);
    EXPECT_EQ(timeline.transportAt(3).position, 300);
}

TEST(Timeline, MidiKeepsTheGivenOrderAtOneMomentAndIsCountedPerBlock) {
    Options options;
    options.controllers = {{0.5, 1, 10, 1}, {0.05, 1, 11, 2}, {0.05, 3, 12, 3}, {0.099, 1, 13, 4}, {0.1, 1, 14, 5}};
    const Timeline timeline(options, 1000.0, 100);
    EXPECT_EQ(timeline.maxMidiPerBlock(), 3u);
    const auto first = timeline.midiIn(0, 100);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].data1, 11);
    EXPECT_EQ(first[1].data1, 12);
    EXPECT_EQ(first[1].status, 0xB2);
    EXPECT_EQ(first[2].frame, 99);
    EXPECT_EQ(timeline.midiIn(100, 200).size(), 1u);
    EXPECT_TRUE(timeline.midiIn(200, 500).empty());
}

}  // namespace
}  // namespace render
