// The audio thread and the editor's thread side by side: the engine leaves
// word for the editor in the effect and never touches a view, while the
// window opens and closes. CI runs it under ThreadSanitizer.
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

TEST(EditorThreads, OpenIdleAndCloseWhileAudioRuns) {
    EffectWithEditor effect;
    APlugin& plugin = *effect.plugin;
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> in(256), outLeft(256), outRight(256);
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (long frame = 0; running.load();) {
            for (float& sample : in) {  // bursts loud enough to start takes
                sample = (frame / 11025) % 2 == 0 ? 0.8f * std::sin(0.05f * static_cast<float>(frame)) : 0.0f;
                ++frame;
            }
            plugin.processReplacing(inputs, outputs, 256);
            plugin.setParameter(Param::WetVolume, static_cast<float>(frame % 1000) / 1000.0f);  // host automation
        }
    });
    for (int round = 0; round < 8; ++round) {
        ASSERT_NE(effect.openOffscreen(), nullptr);
        for (int tick = 0; tick < 5; ++tick) {
            effect.idleLater();
            if (tick == 2) plugin.setFactoryProgram(round % 5);  // the engine then asks for a refresh
        }
        plugin.dispatcher(effEditClose, 0, 0, nullptr, 0);
    }
    EXPECT_EQ(plugin.dispatcher(effEditOpen, 0, 0, nullptr, 0), 0);  // a host without a window
    running.store(false);
    audio.join();
}
