// Takes as a listener hears them: the exact reverse of what was recorded, on
// the frame the trigger rules give, through the effect object and through
// Tidewalker.so as a host loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

namespace {

// The frames [trigger, trigger + length - 2] of the input come back reversed
// from trigger + length - 1 on; the output is silent while recording and
// for `after` frames once the take has played.
void expectReversedTake(const Stereo& in, const Stereo& out, std::size_t trigger, std::size_t after = 500) {
    const std::size_t len = kTakeLength;
    for (std::size_t k = trigger; k < trigger + len - 1; ++k) {
        ASSERT_EQ(out.left[k], 0.0f) << "recording frame " << k;
        ASSERT_EQ(out.right[k], 0.0f) << "recording frame " << k;
    }
    for (std::size_t j = 0; j + 1 < len; ++j) {
        ASSERT_EQ(out.left[trigger + len - 1 + j], in.left[trigger + len - 2 - j]) << "played frame " << j;
        ASSERT_EQ(out.right[trigger + len - 1 + j], in.right[trigger + len - 2 - j]) << "played frame " << j;
    }
    for (std::size_t k = trigger + 2 * len - 2; k < trigger + 2 * len - 2 + after && k < out.size(); ++k) {
        ASSERT_EQ(out.left[k], 0.0f) << "after the take, frame " << k;
        ASSERT_EQ(out.right[k], 0.0f) << "after the take, frame " << k;
    }
}

// Silence, then a burst as long as one recording pass, then silence.
Stereo burstAt(std::size_t trigger, std::size_t frames) {
    Stereo in(frames);
    const Stereo burst = noise(kTakeLength - 1, 7);
    std::copy(burst.left.begin(), burst.left.end(), in.left.begin() + trigger);
    std::copy(burst.right.begin(), burst.right.end(), in.right.begin() + trigger);
    return in;
}

class Takes : public ::testing::Test {
protected:
    IsolatedHome home;
    ChainPlugin plugin;
    void SetUp() override {
        hostTime = {};
        setTransport(false);
    }
};

}  // namespace

TEST_F(Takes, LevelTriggeredTakeIsTheExactReverseHeardOneLengthLater) {
    cleanTake(plugin, kAudioMode);
    const Stereo in = burstAt(100, 3 * kTakeLength);
    const Stereo out = render(plugin, in);
    EXPECT_EQ(plugin.reverse[0].length.load(), static_cast<std::int32_t>(kTakeLength));
    for (std::size_t k = 0; k < 100; ++k) ASSERT_EQ(out.left[k], 0.0f);
    expectReversedTake(in, out, 100);
}

TEST_F(Takes, ManualPressTakesOnceAndTheButtonFallsBack) {
    cleanTake(plugin, kManualMode);
    const Stereo in = noise(3 * kTakeLength, 3);  // loud throughout: no level trigger in this mode
    Stereo out(in.size());
    const std::size_t press = 128;
    auto run = [&](std::size_t from, std::size_t to) {
        float* i[2] = {const_cast<float*>(&in.left[from]), const_cast<float*>(&in.right[from])};
        float* o[2] = {&out.left[from], &out.right[from]};
        plugin.processReplacing(i, o, static_cast<VstInt32>(to - from));
    };
    run(0, press);
    plugin.setParameter(Param::ReverseTrigger, 1.0f);
    run(press, press + 1);
    EXPECT_EQ(plugin.getParameter(Param::ReverseTrigger), 0.0f);
    EXPECT_TRUE(plugin.getReverseManualTrigger());
    EXPECT_FALSE(plugin.getSilent());
    EXPECT_EQ(plugin.takeParametersChangedByAudio(), std::uint64_t{1} << Param::ReverseTrigger);
    run(press + 1, in.size());
    for (std::size_t k = 0; k < press; ++k) ASSERT_EQ(out.left[k], 0.0f);
    expectReversedTake(in, out, press);
    EXPECT_FALSE(plugin.getReverseManualTrigger());
    EXPECT_TRUE(plugin.getSilent());
}

TEST_F(Takes, PressOutsideManualModeStartsNothingButIsReleased) {
    for (float mode : {kAudioMode, kHostMode}) {
        ChainPlugin fresh;
        cleanTake(fresh, mode);
        render(fresh, Stereo(64));
        fresh.setParameter(Param::ReverseTrigger, 1.0f);
        const Stereo out = render(fresh, Stereo(2 * kTakeLength, 0.01f));  // below the threshold
        EXPECT_EQ(fresh.getParameter(Param::ReverseTrigger), 0.0f);
        EXPECT_FALSE(fresh.getReverseManualTrigger());
        EXPECT_EQ(*std::max_element(out.left.begin(), out.left.end()), 0.0f) << mode;
    }
}

TEST_F(Takes, ConsecutiveTakesAlternateVoicesAndEachIsHeardWhole) {
    // Takes every hold period from loud input: the second starts while the
    // first still records, so the first is heard to its end, then the second.
    cleanTake(plugin, kAudioMode);
    const Stereo in = noise(4 * kTakeLength, 5);
    const Stereo out = render(plugin, in);
    // First take at frame 0; the hold expires at frame hold + 1, and the
    // next loud frame starts the second take on the other voice.
    const std::size_t second = kTakeLength + 2;
    for (std::size_t j = 0; j + 1 < kTakeLength; ++j)
        ASSERT_EQ(out.left[kTakeLength - 1 + j], in.left[kTakeLength - 2 - j]) << j;
    for (std::size_t j = 0; j + 1 < kTakeLength; ++j)
        ASSERT_EQ(out.left[second + kTakeLength - 1 + j], in.left[second + kTakeLength - 2 - j]) << j;
    // A third take records meanwhile on the first voice; the second is heard to its end.
    EXPECT_EQ(out.left[second + 2 * kTakeLength - 3], in.left[second]);
}

namespace {

// Tidewalker.so loaded the way a host loads it.
class TakesThroughTheAbi : public ::testing::Test {
protected:
    IsolatedHome home;
    void* library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    VstPluginMainProc entry = library ? reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain")) : nullptr;
    AEffect* effect = nullptr;

    void SetUp() override {
        hostTime = {};
        setTransport(false);
        ASSERT_NE(entry, nullptr) << dlerror();
        effect = entry(fakeHost);
        ASSERT_NE(effect, nullptr);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    }
    void TearDown() override {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        if (library) dlclose(library);
    }
    void set(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
    Stereo process(const Stereo& in) {
        return renderWith([&](float** i, float** o, VstInt32 n) { effect->processReplacing(effect, i, o, n); }, in);
    }
};

}  // namespace

TEST_F(TakesThroughTheAbi, LevelTriggeredTake) {
    cleanTakeWith([&](VstInt32 index, float value) { set(index, value); }, kAudioMode);
    const Stereo in = burstAt(300, 3 * kTakeLength);
    expectReversedTake(in, process(in), 300);
}

TEST_F(TakesThroughTheAbi, HostModeTakesFollowTransportStartAndTheHoldPeriod) {
    cleanTakeWith([&](VstInt32 index, float value) { set(index, value); }, kHostMode);
    process(Stereo(100));  // transport stopped: nothing starts
    setTransport(true);
    // The start is seen at the next 16-frame tick (frame 112); a take then
    // starts every hold + 1 frames.
    const std::size_t start = 12;
    const Stereo in = noise(4 * kTakeLength, 9);
    const Stereo out = process(in);
    for (std::size_t k = 0; k < start + kTakeLength - 1; ++k) ASSERT_EQ(out.left[k], 0.0f) << k;
    for (std::size_t take = 0; take < 2; ++take) {
        const std::size_t trigger = start + take * (kTakeLength + 1);
        for (std::size_t j = 0; j + 1 < kTakeLength; ++j) {
            ASSERT_EQ(out.left[trigger + kTakeLength - 1 + j], in.left[trigger + kTakeLength - 2 - j]) << take;
            ASSERT_EQ(out.right[trigger + kTakeLength - 1 + j], in.right[trigger + kTakeLength - 2 - j]) << take;
        }
    }
}

TEST_F(TakesThroughTheAbi, TransportStopSilencesTheReversedSignalAtOnce) {
    cleanTakeWith([&](VstInt32 index, float value) { set(index, value); }, kHostMode);
    setTransport(true);
    const Stereo loud = noise(kTakeLength + 600, 11);
    const Stereo playing = process(loud);  // the first take has begun to play
    EXPECT_NE(playing.left.back(), 0.0f);
    setTransport(false);
    const Stereo out = process(Stereo(kTakeLength));
    // Until the next 16-frame tick the take still sounds; from it on, nothing.
    const std::size_t tick = (16 - (loud.size() % 16)) % 16;
    EXPECT_NE(out.left[0], 0.0f);
    for (std::size_t k = tick; k < out.size(); ++k) ASSERT_EQ(out.left[k], 0.0f) << k;
}
