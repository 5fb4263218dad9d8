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
int versionCalls = 0;

VstIntPtr testHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    switch (opcode) {
    case audioMasterVersion: ++versionCalls; return hostVersion;
    case audioMasterGetVendorString: std::strcpy(static_cast<char*>(ptr), "Test Vendor"); return 1;
    case audioMasterGetProductString: std::strcpy(static_cast<char*>(ptr), "Test Host"); return 1;
    default: return 0;
    }
}

class PluginAbi : public ::testing::Test {
protected:
    IsolatedHome home;
    void* library = nullptr;
    VstPluginMainProc entry = nullptr;
    AEffect* effect = nullptr;

    void SetUp() override {
        hostVersion = 2400;
        library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
        ASSERT_NE(entry, nullptr);
        effect = entry(testHost);
        ASSERT_NE(effect, nullptr);
    }
    void TearDown() override {
        if (effect) {
            EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
        }
        if (library) dlclose(library);
    }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
    }
    std::string text(VstInt32 opcode, VstInt32 index = 0) {
        char buffer[256];
        std::memset(buffer, 'Z', sizeof buffer);
        buffer[255] = 0;
        dispatch(opcode, index, 0, buffer);
        return buffer;
    }
};

}  // namespace

TEST_F(PluginAbi, RecordShowsTheEffect) {
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->numPrograms, 1);
    EXPECT_EQ(effect->numParams, 500);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, effFlagsCanReplacing);  // no chunks, not a synth, no editor yet
    EXPECT_EQ(effect->uniqueID, fourCharCode("ktVS"));
    EXPECT_NE(effect->processReplacing, nullptr);
}

TEST_F(PluginAbi, IdentityAnswers) {
    EXPECT_EQ(text(effGetEffectName), "Tidewalker");
    EXPECT_EQ(text(effGetVendorString), "Ola Marsk");
    EXPECT_EQ(text(effGetProductString), "Tidewalker");
    EXPECT_EQ(dispatch(effGetVendorVersion), 0x10000);
    EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategUnknown);

    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo", "plugAsChannelInsert",
                            "1in1out", "1in2out", "2in2out"})
        EXPECT_EQ(dispatch(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
    for (const char* no : {"sendVstMidiEvent", "offline", "receivevstevents", "", "2in2out "})
        EXPECT_EQ(dispatch(effCanDo, 0, 0, const_cast<char*>(no)), 0) << no;
    EXPECT_EQ(dispatch(effCanDo), 0);

    VstPinProperties pin;
    std::memset(&pin, 0, sizeof pin);
    EXPECT_EQ(dispatch(effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Tidewalker 2");
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    VstPinProperties untouched;
    std::memset(&untouched, 0x5A, sizeof untouched);
    VstPinProperties third = untouched;
    EXPECT_EQ(dispatch(effGetOutputProperties, 2, 0, &third), 0);
    EXPECT_EQ(std::memcmp(&third, &untouched, sizeof third), 0);
    EXPECT_EQ(dispatch(effGetOutputProperties, -1, 0, &third), 0);
}

TEST_F(PluginAbi, ParametersThroughTheRecord) {
    EXPECT_EQ(text(effGetParamName, 3), "Wet Volume");
    EXPECT_EQ(text(effGetParamName, 13), "~~~");
    EXPECT_EQ(text(effGetParamLabel, 3), " ");
    EXPECT_EQ(text(effGetParamDisplay, 3), "0dB");
    EXPECT_FLOAT_EQ(effect->getParameter(effect, 25), 0.665f);

    effect->setParameter(effect, 31, 0.8f);
    EXPECT_EQ(effect->getParameter(effect, 31), 1.0f);
    EXPECT_EQ(text(effGetParamName, 29), "LFO > Comb Filter Frequency");
    effect->setParameter(effect, 17, 0.5f);
    EXPECT_EQ(text(effGetParamDisplay, 17), "640Hz");

    effect->setParameter(effect, 500, 0.5f);
    effect->setParameter(effect, -3, 0.5f);
    EXPECT_EQ(effect->getParameter(effect, 500), 0.0f);
    EXPECT_EQ(text(effGetParamDisplay, 500), "");
    EXPECT_EQ(text(effGetParamName, -7), "~~~");
}

TEST_F(PluginAbi, UnknownAndNullRequestsAreAnsweredWithZero) {
    for (VstInt32 opcode : {VstInt32{-1}, VstInt32{80}, VstInt32{9999}, VstInt32{effGetVu}, VstInt32{effEditGetRect}, VstInt32{effEditOpen}, VstInt32{effGetChunk}})
        EXPECT_EQ(dispatch(opcode), 0) << opcode;
    for (AEffectOpcodes opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel, effGetEffectName,
                                  effGetVendorString, effGetProductString, effGetOutputProperties})
        EXPECT_EQ(dispatch(opcode, 2, 0, nullptr), 0) << opcode;
}

TEST_F(PluginAbi, AudioPassesThrough) {
    float in[2][8], out[2][8] = {};
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 8; ++i) in[c][i] = 0.1f * static_cast<float>(i) - static_cast<float>(c);
    float* inputs[2] = {in[0], in[1]};
    float* outputs[2] = {out[0], out[1]};
    dispatch(effSetSampleRate, 0, 0, nullptr);
    dispatch(effMainsChanged, 0, 1);
    effect->processReplacing(effect, inputs, outputs, 8);
    EXPECT_EQ(std::memcmp(in, out, sizeof in), 0);
}

TEST_F(PluginAbi, EntriesRefuseHostsWithoutAVersion) {
    auto alias = reinterpret_cast<VstPluginMainProc>(dlsym(library, "main"));
    ASSERT_NE(alias, nullptr);
    AEffect* second = alias(testHost);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->uniqueID, fourCharCode("ktVS"));
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f), 1);

    hostVersion = 0;
    const int calls = versionCalls;
    EXPECT_EQ(entry(testHost), nullptr);
    EXPECT_EQ(alias(testHost), nullptr);
    EXPECT_EQ(versionCalls, calls + 2);
    EXPECT_EQ(entry(nullptr), nullptr);
}
