// A controller mapped in the preferences, driven through the VST 2.4 record of
// Tidewalker.so: events in through the dispatcher, applied while
// processReplacing runs, at the frame their delta names, across blocks.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/midi/MidiTestSupport.h"

namespace {

VstIntPtr silentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class MidiThroughAbi : public ::testing::Test {
protected:
    IsolatedHome home;
    void* library = nullptr;
    AEffect* effect = nullptr;
    std::vector<float> buffers[4];

    void SetUp() override {
        ASSERT_TRUE(setMidiCC(7, Param::WetVolume));
        ASSERT_TRUE(setMidiCC(1, Param::DryVolume));
        library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
        ASSERT_NE(entry, nullptr);
        effect = entry(silentHost);
        ASSERT_NE(effect, nullptr);
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
        effect->dispatcher(effect, effSetBlockSize, 0, 64, nullptr, 0.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
        for (auto& buffer : buffers) buffer.assign(64, 0.0f);
    }
    void TearDown() override {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        if (library) dlclose(library);
    }
    void process(VstInt32 frames) {
        float* in[2] = {buffers[0].data(), buffers[1].data()};
        float* out[2] = {buffers[2].data(), buffers[3].data()};
        effect->processReplacing(effect, in, out, frames);
    }
    float value(VstInt32 index) { return effect->getParameter(effect, index); }
};

TEST_F(MidiThroughAbi, MappedControllersLandOnTheirFrameAcrossBlocks) {
    const float dryBefore = value(Param::DryVolume);
    EventBlock first({midiEvent(0xB0, 7, 64, 0)});
    effect->dispatcher(effect, effProcessEvents, 0, 0, first.block(), 0.0f);
    process(1);
    EXPECT_EQ(value(Param::WetVolume), 0.5f);
    process(63);

    EventBlock block({midiEvent(0xB0, 7, 127, 10), midiEvent(0xB2, 1, 64, 100)});
    EXPECT_EQ(effect->dispatcher(effect, effProcessEvents, 0, 0, block.block(), 0.0f), 1);
    process(9);  // frames 0..8
    EXPECT_EQ(value(Param::WetVolume), 0.5f);
    process(1);  // frame 9
    EXPECT_EQ(value(Param::WetVolume), 0.9921875f);
    process(54);  // rest of the first block of 64
    process(35);  // frames 0..34 of the next one
    EXPECT_EQ(value(Param::DryVolume), dryBefore);
    process(1);  // frame 35
    EXPECT_EQ(value(Param::DryVolume), 0.5f);

    // A negative delta is applied before the next frame, not never.
    EventBlock late({midiEvent(0xB0, 7, 0, -20)});
    effect->dispatcher(effect, effProcessEvents, 0, 0, late.block(), 0.0f);
    process(1);
    EXPECT_EQ(value(Param::WetVolume), 0.0f);
}

}  // namespace
