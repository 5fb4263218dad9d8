// The audio path allocates nothing and takes no lock, whatever the session
// throws at it: transport starts and stops (with the voices erased), trigger
// mode changes, manual presses, filter changes and resets.
#include <gtest/gtest.h>

#include <functional>

#include "tests/engine_chain/ChainTestSupport.h"
#include "tests/support/RealtimeProbe.h"

using namespace chain;

TEST(Realtime, SessionRunsWithoutAllocationsOrLocks) {
    IsolatedHome home;
    hostTime = {};
    setTransport(false);
    ChainPlugin plugin;
    cleanTake(plugin, kHostMode);
    plugin.setParameter(Param::FilterActive, 1.0f);
    plugin.setParameter(Param::LfoActive, 1.0f);
    plugin.setParameter(Param::LfoWave, 1.0f);  // S&H draws its own random numbers
    plugin.setParameter(Param::LfoSpeed, 0.8f);
    plugin.setEditorOpen(true);

    const Stereo in = noise(256, 31);
    Stereo out(256);
    float* inputs[2] = {const_cast<float*>(in.left.data()), const_cast<float*>(in.right.data())};
    float* outputs[2] = {out.left.data(), out.right.data()};
    float levels[4];

    // Each step changes something, then a few blocks run.
    const std::function<void()> steps[] = {
        [] { setTransport(true); },
        [] { setTransport(false); },  // erases the voices
        [&] { plugin.setParameter(Param::ReverseTriggerMode, kManualMode); },
        [&] { plugin.setParameter(Param::ReverseTrigger, 1.0f); },
        [&] { plugin.setParameter(Param::FilterMode, 1.0f); },
        [&] { plugin.setParameter(Param::ReverseLength, 0.3f); },  // resets in "Manual" mode
        [&] { plugin.setParameter(Param::ReverseTriggerMode, kAudioMode); },
        [&] { plugin.setParameter(Param::FilterMode, 0.0f); },
        [&] { plugin.setParameter(Param::LfoMode, 1.0f); },
        [&] {
            plugin.resetReverse(0);
            plugin.resetReverse(1);
            plugin.resetEverything();
        },
        [&] { plugin.setParameter(Param::ReverseTriggerMode, kHostMode); },
        [] { setTransport(true, 171.0); },
        [] { setTransport(false, 171.0); },
    };

    tidewalker::testing::RealtimeCounts counts;
    {
        tidewalker::testing::RealtimeProbe probe;
        for (int round = 0; round < 3; ++round) {
            for (const auto& step : steps) {
                step();
                for (int block = 0; block < 40; ++block) plugin.processReplacing(inputs, outputs, 256);
                plugin.takeVuLevels(levels);
            }
        }
        counts = probe.counts();
    }
    EXPECT_EQ(counts.allocations, 0u);
    EXPECT_EQ(counts.locks, 0u);
}
