// Takes as a listener hears them: the exact reverse of what was recorded, on
// the frame the trigger rules give, through the effect object and through
// Tidewalker.so as a host loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

namespace {

// Input frames [trigger, trigger + length - 2] come back reversed from
// trigger + length - 1 on; a take alone is silent while recording and after.
void expectTake(const Stereo& in, const Stereo& out, std::size_t trigger, bool alone = true) {
    const std::size_t len = kTakeLength, heard = trigger + len - 1;
    for (std::size_t j = 0; j + 1 < len; ++j) {
        ASSERT_EQ(out.left[heard + j], in.left[heard - 1 - j]) << "played frame " << j;
        ASSERT_EQ(out.right[heard + j], in.right[heard - 1 - j]) << "played frame " << j;
    }
    if (!alone) return;
    EXPECT_EQ(peak(out.left, trigger, heard), 0.0f);
    EXPECT_EQ(peak(out.right, heard + len - 1, heard + len + 500), 0.0f);
}

// Silence with one recording pass of noise starting at `at`.
Stereo burstAt(std::size_t at, std::size_t frames) {
    Stereo in(frames);
    const Stereo burst = noise(kTakeLength - 1, 7);
    std::copy(burst.left.begin(), burst.left.end(), in.left.begin() + at);
    std::copy(burst.right.begin(), burst.right.end(), in.right.begin() + at);
    return in;
}

class Takes : public ::testing::Test {
protected:
    IsolatedHome home;
    ChainPlugin plugin;
    void SetUp() override { setTransport(false); }
};

}  // namespace

// Loud throughout: the hold expires at hold + 1 frames, the next loud frame
// starts a take on the other voice, and its last sample is heard too.
TEST_F(Takes, LoudInputTakesAlternateVoicesAndEachIsHeardWhole) {
    cleanTake(plugin, kAudioMode);
    const Stereo in = noise(4 * kTakeLength, 5), out = render(plugin, in);
    expectTake(in, out, 0, false);
    expectTake(in, out, kTakeLength + 2, false);
}

TEST_F(Takes, ManualPressTakesOnceAndTheButtonFallsBackInEveryMode) {
    cleanTake(plugin, kManualMode);
    const Stereo in = noise(3 * kTakeLength, 3);  // loud, but no level trigger in this mode
    Stereo out(in.size());
    const Process process = [this](float** i, float** o, VstInt32 n) { plugin.processReplacing(i, o, n); };
    render(process, in, out, 0, 128);
    plugin.setParameter(Param::ReverseTrigger, 1.0f);
    render(process, in, out, 128, 129);
    EXPECT_EQ(plugin.getParameter(Param::ReverseTrigger), 0.0f);
    EXPECT_TRUE(plugin.getReverseManualTrigger());
    render(process, in, out, 129, in.size());
    EXPECT_EQ(peak(out.left, 0, 128), 0.0f);
    expectTake(in, out, 128);
    EXPECT_FALSE(plugin.getReverseManualTrigger());

    for (float mode : {kAudioMode, kHostMode}) {
        ChainPlugin other;
        cleanTake(other, mode);
        other.setParameter(Param::ReverseTrigger, 1.0f);
        const Stereo quiet = render(other, Stereo(2 * kTakeLength, 0.01f));  // below the threshold
        EXPECT_EQ(other.getParameter(Param::ReverseTrigger), 0.0f);
        EXPECT_EQ(peak(quiet.left), 0.0f) << mode;
    }
}

namespace {

class TakesThroughTheAbi : public Takes {
protected:
    void* library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    AEffect* effect = nullptr;
    Process process = [this](float** in, float** out, VstInt32 n) { effect->processReplacing(effect, in, out, n); };

    void SetUp() override {
        Takes::SetUp();
        auto entry = library ? reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain")) : nullptr;
        ASSERT_NE(entry, nullptr) << dlerror();
        effect = entry(fakeHost);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    }
    void TearDown() override {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        if (library) dlclose(library);
    }
    void clean(float mode) {
        cleanTake([this](VstInt32 index, float value) { effect->setParameter(effect, index, value); }, mode);
    }
};

}  // namespace

TEST_F(TakesThroughTheAbi, LevelTriggeredTake) {
    clean(kAudioMode);
    const Stereo in = burstAt(300, 3 * kTakeLength);
    expectTake(in, render(process, in), 300);
}

TEST_F(TakesThroughTheAbi, HostModeFollowsTransportStartHoldPeriodAndStop) {
    clean(kHostMode);
    render(process, Stereo(100));  // stopped: nothing starts
    setTransport(true);
    // The start is seen at the next 16-frame tick, 12 frames on; a new take
    // follows every hold + 1 frames.
    const Stereo in = noise(3 * kTakeLength + 100, 9);
    const Stereo out = render(process, in);
    expectTake(in, out, 12, false);
    expectTake(in, out, 12 + kTakeLength + 1, false);
    EXPECT_EQ(peak(out.left, 0, 12 + kTakeLength - 1), 0.0f);

    setTransport(false);  // with "MuteReverse" on, the third take stops at the next tick
    const Stereo after = render(process, Stereo(1000));
    EXPECT_NE(after.left[0], 0.0f);
    EXPECT_EQ(peak(after.left, 16), 0.0f);
}
