// Loads Tidewalker.so the way a host does and talks to it only through the
// VST 2.4 record and dispatcher.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "effect/VstAbi.h"
#include "tests/platform/PlatformTestSupport.h"

namespace {

VstIntPtr hostVersion = 2400;

VstIntPtr testHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterVersion) return hostVersion;
    if (opcode == audioMasterGetProductString) std::strcpy(static_cast<char*>(ptr), "Test Host");
    return 0;
}

class PluginAbi : public ::testing::Test {
protected:
    IsolatedHome home;
    void* library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    VstPluginMainProc entry = library ? reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain")) : nullptr;
    AEffect* effect = entry ? entry(testHost) : nullptr;

    void SetUp() override { ASSERT_NE(effect, nullptr) << dlerror(); }
    void TearDown() override {
        if (effect) {
            EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
        }
        if (library) dlclose(library);
        hostVersion = 2400;
    }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, const void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, index, 0, const_cast<void*>(ptr), 0.0f);
    }
    std::string text(VstInt32 opcode, VstInt32 index = 0) {
        char buffer[256] = {};
        dispatch(opcode, index, buffer);
        return buffer;
    }
};

}  // namespace

TEST_F(PluginAbi, RecordAndIdentity) {
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->numPrograms, 1);
    EXPECT_EQ(effect->numParams, 500);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsHasEditor);  // no chunks, not a synth
    EXPECT_EQ(effect->uniqueID, fourCharCode("ktVS"));
    EXPECT_EQ(text(effGetEffectName), "Tidewalker");
    EXPECT_EQ(text(effGetVendorString), "Ola Marsk");
    EXPECT_EQ(text(effGetProductString), "Tidewalker");
    EXPECT_EQ(dispatch(effGetVendorVersion), 0x10000);

    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo", "plugAsChannelInsert",
                            "1in1out", "1in2out", "2in2out"})
        EXPECT_EQ(dispatch(effCanDo, 0, yes), 1) << yes;
    for (const char* no : {"sendVstMidiEvent", "offline", "receivevstevents", "", "2in2out "})
        EXPECT_EQ(dispatch(effCanDo, 0, no), 0) << no;

    VstPinProperties pin{};
    EXPECT_EQ(dispatch(effGetOutputProperties, 1, &pin), 1);
    EXPECT_STREQ(pin.label, "Tidewalker 2");
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    VstPinProperties untouched, third;
    std::memset(&untouched, 0x5A, sizeof untouched);
    third = untouched;
    EXPECT_EQ(dispatch(effGetOutputProperties, 2, &third), 0);
    EXPECT_EQ(dispatch(effGetOutputProperties, -1, &third), 0);
    EXPECT_EQ(std::memcmp(&third, &untouched, sizeof third), 0);
}

TEST_F(PluginAbi, ParametersAndAudioThroughTheRecord) {
    EXPECT_EQ(text(effGetParamName, 3), "Wet Volume");
    EXPECT_EQ(text(effGetParamLabel, 3), " ");
    EXPECT_EQ(text(effGetParamDisplay, 3), "0dB");
    effect->setParameter(effect, 31, 0.8f);
    EXPECT_EQ(effect->getParameter(effect, 31), 1.0f);
    EXPECT_EQ(text(effGetParamName, 29), "LFO > Comb Filter Frequency");
    effect->setParameter(effect, 500, 0.5f);
    EXPECT_EQ(effect->getParameter(effect, 500), 0.0f);
    EXPECT_EQ(text(effGetParamDisplay, 500), "");
    EXPECT_EQ(text(effGetParamName, -7), "~~~");

    float in[2][8] = {{1, 2, 3, 4, 5, 6, 7, 8}, {-1, -2, -3, -4, -5, -6, -7, -8}}, out[2][8] = {};
    float* inputs[2] = {in[0], in[1]};
    float* outputs[2] = {out[0], out[1]};
    effect->setParameter(effect, 1, 1.0f);  // "Bypass"
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    effect->processReplacing(effect, inputs, outputs, 8);
    EXPECT_EQ(std::memcmp(in, out, sizeof in), 0);
}

TEST_F(PluginAbi, UnknownAndNullRequestsAreAnsweredWithZero) {
    for (VstInt32 opcode : {-1, 80, 9999, int{effGetVu}, int{effEditGetRect}, int{effEditOpen}, int{effGetChunk}})
        EXPECT_EQ(dispatch(opcode), 0) << opcode;
    for (VstInt32 opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel, effGetEffectName,
                            effGetVendorString, effGetProductString, effGetOutputProperties, effCanDo})
        EXPECT_EQ(dispatch(opcode, 2), 0) << opcode;
}

TEST_F(PluginAbi, OldHostsFindMainAndHostsWithoutAVersionGetNothing) {
    auto alias = reinterpret_cast<VstPluginMainProc>(dlsym(library, "main"));
    ASSERT_NE(alias, nullptr);
    AEffect* second = alias(testHost);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->uniqueID, fourCharCode("ktVS"));
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f), 1);

    hostVersion = 0;
    EXPECT_EQ(entry(testHost), nullptr);
    EXPECT_EQ(alias(testHost), nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
}
