// Audio through the adapter, compared sample for sample with the effect
// driven directly through the VST interface.
#include <cmath>
#include <cstring>

#include "plugin/uPluginPresetsBanks.h"
#include "tests/au/AuTestSupport.h"
#include "tests/support/RealtimeProbe.h"

namespace {

struct Case {
    UInt32 block;
    double rate;
    UInt32 inputs;
    int preset;  // -1: the defaults
    bool playing;
};

int hostModePreset() {
    for (int n = 0; n < FACTORY_PRESET_COUNT; ++n)
        if (getSteppedValue(FACTORY_PRESETS[n][Param::ReverseTriggerMode], kTriggerModeSteps.scale,
                            kTriggerModeSteps.count) == 2)
            return n;
    return -1;
}

class AuRender : public AuTest, public ::testing::WithParamInterface<Case> {};

TEST_P(AuRender, EqualsTheVstPathBitForBit) {
    const Case c = GetParam();
    const int preset = c.preset == -2 ? hostModePreset() : c.preset;
    if (c.preset == -2) {
        ASSERT_GE(preset, 0) << "no factory preset uses the host trigger";
    }
    const std::size_t frames = static_cast<std::size_t>(c.rate * 1.5);
    const std::vector<float> left = burst(frames, c.rate, 220.0), right = burst(frames, c.rate, 330.0);

    auto host = openUnit(Entry::Factory);
    ASSERT_EQ(host->setFormat(c.rate, c.inputs, 2), noErr);
    ASSERT_EQ(host->setMaxFrames(c.block), noErr);
    ReferenceEffect reference(static_cast<float>(c.rate), static_cast<VstInt32>(c.block));
    if (preset >= 0) {
        for (UInt32 i = 0; i < kNumParameters; ++i) {
            host->setParameter(i, FACTORY_PRESETS[preset][i]);
            reference.effect->setParameter(static_cast<VstInt32>(i), FACTORY_PRESETS[preset][i]);
        }
        const AUPreset first{0, nullptr};
        ASSERT_EQ(setProperty(host->unit(), kAudioUnitProperty_PresentPreset, first), noErr);
        reference.record->dispatcher(reference.record, effSetProgram, 0, 0, nullptr, 0.0f);
    }
    ASSERT_EQ(host->initialize(), noErr);
    host->time().playing = c.playing;
    host->time().transportChanged = c.playing;
    if (c.playing) ReferenceEffect::time.flags |= kVstTransportPlaying | kVstTransportChanged;

    std::vector<float> outL(frames), outR(frames), refL(frames), refR(frames);
    for (std::size_t at = 0; at < frames; at += c.block) {
        const auto n = static_cast<UInt32>(std::min<std::size_t>(c.block, frames - at));
        const float* in[2] = {left.data() + at, right.data() + at};
        float* out[2] = {outL.data() + at, outR.data() + at};
        ASSERT_EQ(host->render(in, out, n), noErr) << at;

        float* refIn[2] = {const_cast<float*>(in[0]), const_cast<float*>(c.inputs == 1 ? in[0] : in[1])};
        float* refOut[2] = {refL.data() + at, refR.data() + at};
        reference.process(refIn, refOut, static_cast<VstInt32>(n));
        ReferenceEffect::time.flags &= ~kVstTransportChanged;
    }
    EXPECT_EQ(std::memcmp(outL.data(), refL.data(), frames * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(outR.data(), refR.data(), frames * sizeof(float)), 0);
    EXPECT_NE(outL, left);  // the effect did something
}

INSTANTIATE_TEST_SUITE_P(Blocks, AuRender,
                         ::testing::Values(Case{512, 48000.0, 2, -1, false}, Case{1, 48000.0, 2, -1, false},
                                           Case{511, 44100.0, 2, -1, false}, Case{512, 48000.0, 1, -1, false},
                                           Case{256, 48000.0, 2, -2, true}));

TEST_F(AuTest, RenderRefusesWhatItCannotDoAndLetsZeroFramesPass) {
    auto host = openUnit();
    float silence[2048] = {};
    const float* in[2] = {silence, silence};
    float* out[2] = {silence, silence};
    EXPECT_EQ(host->render(in, out, 64), kAudioUnitErr_Uninitialized);
    ASSERT_EQ(host->setMaxFrames(512), noErr);
    ASSERT_EQ(host->initialize(), noErr);
    EXPECT_EQ(host->setMaxFrames(1024), kAudioUnitErr_PropertyNotWritable);
    EXPECT_EQ(host->render(in, out, 513), kAudioUnitErr_TooManyFramesToProcess);
    EXPECT_EQ(host->render(in, out, 0), noErr);

    // An output buffer shorter than the frames asked for is refused, not overrun.
    float shortBuffer[8];
    AudioBufferList list{1, {{1, sizeof(shortBuffer), shortBuffer}}};
    struct { AudioBufferList list; AudioBuffer second; } two{list, {1, sizeof(shortBuffer), shortBuffer}};
    two.list.mNumberBuffers = 2;
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp stamp{};
    EXPECT_EQ(AudioUnitRender(host->unit(), &flags, &stamp, 0, 64, &two.list), kAudio_ParamError);
    EXPECT_EQ(AudioUnitRender(host->unit(), &flags, &stamp, 0, 64, &list), kAudio_ParamError);
}

TEST_F(AuTest, BypassCopiesTheInputAndTheEffectHearsNothing) {
    auto host = openUnit();
    ASSERT_EQ(host->setFormat(44100.0, 1, 2), noErr);
    ASSERT_EQ(host->initialize(), noErr);
    const UInt32 on = 1;
    ASSERT_EQ(setProperty(host->unit(), kAudioUnitProperty_BypassEffect, on), noErr);
    std::vector<float> mono = burst(512, 44100.0, 440.0), left(512), right(512);
    const float* in[1] = {mono.data()};
    float* out[2] = {left.data(), right.data()};
    ASSERT_EQ(host->render(in, out, 512), noErr);
    EXPECT_EQ(left, mono);
    EXPECT_EQ(right, mono);

    // In place (2 in, 2 out) the output is the input: nothing is copied onto itself.
    auto stereo = openUnit();
    ASSERT_EQ(stereo->initialize(), noErr);
    ASSERT_EQ(setProperty(stereo->unit(), kAudioUnitProperty_BypassEffect, on), noErr);
    const float* both[2] = {mono.data(), mono.data()};
    ASSERT_EQ(stereo->render(both, out, 512), noErr);
    EXPECT_EQ(left, mono);
}

TEST_F(AuTest, SilentInputStillPlaysOutAReversedTake) {
    auto host = openUnit();
    ASSERT_EQ(host->initialize(), noErr);
    host->setParameter(Param::DryVolume, 0.0f);  // only the reversed signal is heard
    std::vector<float> loud = burst(512 * 40, 44100.0, 200.0), zero(512, 0.0f), left(512), right(512);
    float* out[2] = {left.data(), right.data()};
    for (int block = 0; block < 40; ++block) {
        const float* in[2] = {loud.data() + 512 * block, loud.data() + 512 * block};
        ASSERT_EQ(host->render(in, out, 512), noErr);
    }

    const float* quiet[2] = {zero.data(), zero.data()};
    bool heard = false;
    for (int block = 0; block < 200 && !heard; ++block) {
        AudioUnitRenderActionFlags flags = 0;
        ASSERT_EQ(host->render(quiet, out, 512, kAudioUnitRenderAction_OutputIsSilence, &flags), noErr);
        const bool sound = std::any_of(left.begin(), left.end(), [](float s) { return s != 0.0f; });
        EXPECT_EQ((flags & kAudioUnitRenderAction_OutputIsSilence) != 0, !sound) << block;
        heard = sound;
    }
    EXPECT_TRUE(heard);
}

TEST_F(AuTest, ScheduledParameterSplitsTheBlockAtItsFrame) {
    auto host = openUnit();
    ASSERT_EQ(host->initialize(), noErr);
    ReferenceEffect reference(44100.0f, 1156);
    std::vector<float> input = burst(512, 44100.0, 300.0), left(512), right(512), refL(512), refR(512);
    AudioUnitParameterEvent event{};
    event.scope = kAudioUnitScope_Global;
    event.parameter = Param::DryVolume;
    event.eventType = kParameterEvent_Immediate;
    event.eventValues.immediate = {100, 0.2f};
    ASSERT_EQ(AudioUnitScheduleParameters(host->unit(), &event, 1), noErr);
    const float* in[2] = {input.data(), input.data()};
    float* out[2] = {left.data(), right.data()};
    ASSERT_EQ(host->render(in, out, 512), noErr);

    float* refIn[2] = {input.data(), input.data()};
    float* first[2] = {refL.data(), refR.data()};
    reference.effect->setParameter(Param::DryVolume, 0.2f);  // scheduling sets it at once as well
    reference.process(refIn, first, 100);
    float* restIn[2] = {input.data() + 100, input.data() + 100};
    float* rest[2] = {refL.data() + 100, refR.data() + 100};
    reference.process(restIn, rest, 412);
    EXPECT_EQ(left, refL);
    EXPECT_EQ(host->parameter(Param::DryVolume), 0.2f);
}

TEST_F(AuTest, RenderingWithMidiAndScheduledValuesAllocatesAndLocksNothing) {
    auto host = openUnit(Entry::Factory);
    ASSERT_EQ(host->initialize(), noErr);
    std::vector<float> input = burst(512, 44100.0, 300.0), left(512), right(512);
    const float* in[2] = {input.data(), input.data()};
    float* out[2] = {left.data(), right.data()};
    ASSERT_EQ(host->render(in, out, 512), noErr);  // the host's own list is made here
    AudioUnitParameterEvent event{};
    event.parameter = Param::WetVolume;
    event.eventType = kParameterEvent_Immediate;
    event.eventValues.immediate = {200, 0.3f};
    for (int block = 0; block < 8; ++block) {
        ASSERT_EQ(AudioUnitScheduleParameters(host->unit(), &event, 1), noErr);
        tidewalker::testing::RealtimeProbe probe;
        host->midi(0xB0, 7, 64, 17);
        ASSERT_EQ(host->render(in, out, 512), noErr);
        EXPECT_EQ(probe.counts().allocations, 0u);
        EXPECT_EQ(probe.counts().locks, 0u);
    }
}

}  // namespace
