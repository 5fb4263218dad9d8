// The audio thread and the editor's thread side by side: the engine leaves
// word for the editor in the effect and never touches a view, while the
// window opens and closes. Run under ThreadSanitizer in CI.
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace {

TEST(EditorThreads, OpenIdleAndCloseWhileAudioRuns) {
    EffectWithEditor effect;
    APlugin& plugin = *effect.plugin;
    plugin.setSampleRate(44100.0f);
    plugin.setBlockSize(256);
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        std::vector<float> left(256), right(256), outLeft(256), outRight(256);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        long frame = 0;
        while (running.load()) {
            for (int i = 0; i < 256; ++i, ++frame) {
                // Bursts loud enough to trigger takes.
                const float burst = (frame / 11025) % 2 == 0 ? 0.8f : 0.0f;
                left[i] = right[i] = burst * std::sin(0.05f * static_cast<float>(frame));
            }
            plugin.processReplacing(inputs, outputs, 256);
            // A host automating from its audio thread.
            plugin.setParameter(Param::WetVolume, static_cast<float>(frame % 1000) / 1000.0f);
            blocks.fetch_add(1);
        }
    });

    for (int round = 0; round < 8; ++round) {
        ASSERT_EQ(plugin.dispatcher(effEditOpen, 0, 0, nullptr, 0), 1);
        for (int tick = 0; tick < 5; ++tick) {
            effect.idleLater();
            // A program change on the editor's thread: the engine asks for a refresh.
            if (tick == 2) plugin.setFactoryProgram(round % 5);
        }
        plugin.dispatcher(effEditClose, 0, 0, nullptr, 0);
    }
    running.store(false);
    audio.join();
    EXPECT_GT(blocks.load(), 0);
}

}  // namespace
