// Talks to Tidewalker.so only through the VST 2.4 record and dispatcher.
#include "tests/plugin/PluginTestSupport.h"

namespace {

class PluginAbi : public HomeTest {
protected:
    LoadedPlugin loaded;
    AEffect* effect = (hostProduct = "Test Host", loaded.create());

    void SetUp() override { ASSERT_NE(effect, nullptr) << dlerror(); }
    void TearDown() override {
        if (effect) { EXPECT_EQ(call(effect, effClose), 1); }
    }
    std::string text(VstInt32 opcode, VstInt32 index = 0) {
        char buffer[256] = {};
        call(effect, opcode, index, 0, buffer);
        return buffer;
    }
};

}  // namespace

TEST_F(PluginAbi, RecordIdentityAndParameterTexts) {
    EXPECT_EQ(std::tuple(effect->magic, effect->numPrograms, effect->numParams, effect->numInputs, effect->numOutputs),
              std::tuple(kEffectMagic, 1, 500, 2, 2));
    EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsHasEditor);  // no chunks, not a synth
    EXPECT_EQ(effect->uniqueID, fourCharCode("ktVS"));
    EXPECT_EQ(text(effGetEffectName) + "|" + text(effGetVendorString) + "|" + text(effGetProductString),
              "Tidewalker|Ola Marsk|Tidewalker");
    EXPECT_EQ(call(effect, effGetVendorVersion), 0x10000);
    EXPECT_EQ(text(effGetParamName, 3) + "|" + text(effGetParamLabel, 3) + "|" + text(effGetParamDisplay, 3),
              "Wet Volume| |0dB");

    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo", "plugAsChannelInsert",
                            "1in1out", "1in2out", "2in2out"})
        EXPECT_EQ(call(effect, effCanDo, 0, 0, yes), 1) << yes;
    for (const char* no : {"sendVstMidiEvent", "offline", "receivevstevents", "", "2in2out "})
        EXPECT_EQ(call(effect, effCanDo, 0, 0, no), 0) << no;

    VstPinProperties pin{}, untouched, third;
    EXPECT_EQ(call(effect, effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Tidewalker 2");
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    std::memset(&untouched, 0x5A, sizeof untouched);
    third = untouched;
    EXPECT_EQ(call(effect, effGetOutputProperties, 2, 0, &third), 0);
    EXPECT_EQ(call(effect, effGetOutputProperties, -1, 0, &third), 0);
    EXPECT_EQ(std::memcmp(&third, &untouched, sizeof third), 0);
}

TEST_F(PluginAbi, UnknownAndNullRequestsAreAnsweredWithZero) {
    for (VstInt32 opcode : {-1, 80, 9999, int{effGetVu}, int{effEditGetRect}, int{effEditOpen}, int{effGetChunk}})
        EXPECT_EQ(call(effect, opcode), 0) << opcode;
    for (VstInt32 opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel, effGetEffectName,
                            effGetVendorString, effGetProductString, effGetOutputProperties, effCanDo})
        EXPECT_EQ(call(effect, opcode, 2), 0) << opcode;
}

TEST_F(PluginAbi, OldHostsFindMainAndHostsWithoutAVersionGetNothing) {
    auto alias = reinterpret_cast<VstPluginMainProc>(dlsym(loaded.library, "main"));
    ASSERT_NE(alias, nullptr);
    AEffect* second = alias(namedHost);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->uniqueID, fourCharCode("ktVS"));
    EXPECT_EQ(call(second, effClose), 1);

    hostVersion = 0;
    EXPECT_EQ(loaded.create(), nullptr);
    EXPECT_EQ(alias(namedHost), nullptr);
    EXPECT_EQ(loaded.entry(nullptr), nullptr);
}
