// The audio path allocates nothing and takes no lock through transport
// starts and stops (the voices erased), trigger-mode changes, manual
// presses, filter changes and resets.
#include <gtest/gtest.h>

#include "tests/engine_chain/ChainTestSupport.h"
#include "tests/support/RealtimeProbe.h"

using namespace chain;

TEST(Realtime, SessionRunsWithoutAllocationsOrLocks) {
    IsolatedHome home;
    setTransport(false);
    ChainPlugin plugin;
    cleanTake(plugin, kHostMode);
    for (VstInt32 on : {Param::FilterActive, Param::LfoActive, Param::LfoWave})  // S&H draws random numbers
        plugin.setParameter(on, 1.0f);
    plugin.setEditorOpen(true);
    Stereo in = noise(256, 31), out(256);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    auto set = [&](VstInt32 index, float value) { return [=, &plugin] { plugin.setParameter(index, value); }; };
    const std::function<void()> steps[] = {
        [] { setTransport(true); }, [] { setTransport(false); }, set(Param::ReverseTriggerMode, kManualMode),
        set(Param::ReverseTrigger, 1.0f), set(Param::FilterMode, 1.0f), set(Param::ReverseLength, 0.3f),
        set(Param::ReverseTriggerMode, kAudioMode), set(Param::LfoMode, 1.0f), set(Param::FilterMode, 0.0f),
        [&] { plugin.resetReverse(1), plugin.resetEverything(); }, set(Param::ReverseTriggerMode, kHostMode),
        [] { setTransport(true, 171.0); }, [] { setTransport(false, 171.0); },
    };
    tidewalker::testing::RealtimeCounts counts;
    {
        tidewalker::testing::RealtimeProbe probe;
        for (int round = 0; round < 3; ++round)
            for (const auto& step : steps) {
                step();
                for (int block = 0; block < 40; ++block) plugin.processReplacing(inputs, outputs, 256);
            }
        counts = probe.counts();
    }
    EXPECT_EQ(counts.allocations, 0u);
    EXPECT_EQ(counts.locks, 0u);
}
