// One thread processes, one automates parameters and asks for resets, one
// polls everything the editor reads: run under ThreadSanitizer in CI.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

TEST(Threads, ProcessingAutomationAndDisplayPollingShareTheEffect) {
    IsolatedHome home;
    hostTime = {};
    setTransport(false);
    ChainPlugin plugin;
    cleanTake(plugin, kAudioMode);
    plugin.setParameter(Param::FilterActive, 1.0f);
    plugin.setParameter(Param::LfoActive, 1.0f);
    plugin.setEditorOpen(true);
    std::atomic<bool> done{false};

    std::thread audio([&] {
        const Stereo in = noise(128, 41);
        Stereo out(128);
        float* inputs[2] = {const_cast<float*>(in.left.data()), const_cast<float*>(in.right.data())};
        float* outputs[2] = {out.left.data(), out.right.data()};
        for (int block = 0; block < 1500; ++block) {
            if (block % 200 == 0) setTransport(block % 400 == 0);  // only this thread touches the host's time
            plugin.processReplacing(inputs, outputs, 128);
        }
        done = true;
    });

    std::thread automation([&] {
        unsigned state = 7;
        while (!done) {
            state = state * 1664525u + 1013904223u;
            const auto index = static_cast<VstInt32>(1 + (state >> 8) % (Param::kFirstUnusedSlot - 1));
            plugin.setParameter(index, static_cast<float>((state >> 4) & 1023u) / 1023.0f);
            if ((state & 255u) == 0) {
                plugin.resetReverse(0);
                plugin.resetEverything();
            }
            std::this_thread::yield();
        }
    });

    double sink = 0.0;
    float levels[4];
    while (!done) {
        sink += plugin.getReverseDisplayLengthMS() + plugin.getReverseDisplayLengthQuantized() +
                plugin.getReverseDisplayLengthQB() + plugin.getReversePosition() + plugin.getRecordPosition() +
                plugin.getReverseLength() + plugin.getHoldTime() + plugin.getLFOPos() + plugin.getVu();
        for (int x = 0; x < 100; x += 7) sink += plugin.getDisplayValue(static_cast<float>(x), 100.0f, x % 2 == 0);
        sink += plugin.getSilent() + plugin.getReverseManualTrigger() + plugin.getReverseTriggerMode() +
                plugin.getFilterMode() + plugin.getLFOWave() + plugin.getLFOPhase() + plugin.getLFOSyncedSpeed();
        if (plugin.takeVuLevels(levels)) sink += levels[0];
        sink += static_cast<double>(plugin.takeParametersChangedByAudio() & 1u) + plugin.takeResumeRequest();
    }
    audio.join();
    automation.join();
    EXPECT_TRUE(std::isfinite(sink));
}
