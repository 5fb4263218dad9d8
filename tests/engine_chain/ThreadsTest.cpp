// One thread processes, one automates parameters and asks for resets, one
// polls everything the editor reads; CI runs it under ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

TEST(Threads, ProcessingAutomationAndDisplayPollingShareTheEffect) {
    IsolatedHome home;
    setTransport(false);
    ChainPlugin plugin;
    plugin.setParameter(Param::FilterActive, 1.0f);
    plugin.setParameter(Param::LfoActive, 1.0f);
    plugin.setEditorOpen(true);
    std::atomic<bool> done{false};
    float loudest = 0.0f;  // NaN once any output sample is not a number

    std::thread audio([&] {
        Stereo in = noise(128, 41), out(128);
        float* inputs[2] = {in.left.data(), in.right.data()};
        float* outputs[2] = {out.left.data(), out.right.data()};
        for (int block = 0; block < 1500; ++block) {
            if (block % 200 == 0) setTransport(block % 400 == 0);  // only this thread touches the host's time
            plugin.processReplacing(inputs, outputs, 128);
            for (const auto* channel : {&out.left, &out.right})
                for (float sample : *channel) loudest = std::isnan(sample) ? sample : std::max(loudest, std::fabs(sample));
        }
        done = true;
    });
    std::thread automation([&] {
        for (unsigned state = 7; !done; std::this_thread::yield()) {
            state = state * 1664525u + 1013904223u;
            plugin.setParameter(static_cast<VstInt32>(1 + (state >> 8) % 35), static_cast<float>(state % 1024u) / 1023.0f);
            if ((state & 255u) == 0) plugin.resetReverse(0), plugin.resetEverything();
        }
    });
    // Whatever the editor reads while the others run is a number it can draw.
    float levels[4];
    EditorMailbox& mailbox = plugin.getEditorMailbox();
    double sink = 0.0;
    float lowestColumn = 0.0f;
    while (!done) {
        sink += plugin.getReverseDisplayLengthQuantized() + plugin.getReverseDisplayLengthQB() +
                plugin.getRecordPosition() + plugin.getHoldTime() + plugin.getLFOPos() + plugin.getVu() +
                plugin.getSilent() + plugin.getReverseManualTrigger() + mailbox.takeResumeRequest() +
                static_cast<double>(mailbox.takeChanged() & 1u) + mailbox.takeVuLevels(levels);
        for (float x = 0.0f; x < 100.0f; x += 7.0f) {
            const float column = plugin.getDisplayValue(x, 100.0f, x < 50.0f);
            lowestColumn = std::min(lowestColumn, column);
            sink += column;
        }
    }
    audio.join();
    automation.join();
    EXPECT_TRUE(std::isfinite(sink));
    EXPECT_EQ(lowestColumn, 0.0f);
    EXPECT_LE(loudest, 0.999f);  // false for NaN too
    EXPECT_GT(loudest, 0.0f);
}
