// The base classes' dispatch and host operations, with a recording host.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "effect/AudioEffectX.h"

namespace {

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

std::vector<HostCall> hostCalls;
VstIntPtr hostReply = 0;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    hostCalls.push_back({opcode, index, value, opt});
    if (opcode == audioMasterGetVendorString && ptr) std::strcpy(static_cast<char*>(ptr), "Vendor");
    return hostReply;
}

class Probe : public AudioEffectX {
public:
    explicit Probe(audioMasterCallback host, bool* destroyed = nullptr)
        : AudioEffectX(host, 1, 4), destroyed(destroyed) {}
    ~Probe() override {
        if (destroyed) *destroyed = true;
    }
    void processReplacing(float**, float**, VstInt32) override {}
    void suspend() override { ++suspends; }
    void resume() override { ++resumes; }
    void setProgram(VstInt32 program) override { programsSet.push_back(program); }
    void setParameter(VstInt32 index, float value) override { lastSet = {index, value}; }
    VstInt32 processEvents(VstEvents* events) override { return events ? events->numEvents + 100 : -1; }

    bool* destroyed;
    int suspends = 0, resumes = 0;
    std::vector<VstInt32> programsSet;
    std::pair<VstInt32, float> lastSet{-1, 0.0f};
};

class KeyEditor : public AEffEditor {
public:
    bool onKeyDown(VstKeyCode& key) override { lastKey = key; return true; }
    VstKeyCode lastKey{};
};

class EffectBase : public ::testing::Test {
protected:
    void SetUp() override { hostCalls.clear(); hostReply = 0; }
};

TEST_F(EffectBase, RecordStartsWithTheInterfaceDefaults) {
    Probe probe(recordingHost);
    AEffect* e = probe.getAeffect();
    EXPECT_EQ(e->magic, fourCharCode("VstP"));
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 4);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    EXPECT_EQ(e->uniqueID, fourCharCode("NoEf"));
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->object, &probe);
    EXPECT_FLOAT_EQ(probe.getSampleRate(), 44100.0f);
    EXPECT_EQ(probe.getBlockSize(), 1024);
    probe.programsAreChunks(true);
    probe.isSynth(true);
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth);
    EXPECT_EQ(probe.getPlugCategory(), kPlugCategSynth);
    probe.isSynth(false);
    EXPECT_EQ(probe.getPlugCategory(), kPlugCategUnknown);
}

TEST_F(EffectBase, DispatcherRoutesTheBaseOperations) {
    Probe probe(recordingHost);
    AEffect* e = probe.getAeffect();
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 7, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, -1, nullptr, 0);
    EXPECT_EQ(probe.suspends, 1);
    EXPECT_EQ(probe.resumes, 2);

    EXPECT_EQ(e->dispatcher(e, effIdentify, 0, 0, nullptr, 0), fourCharCode("NvEf"));

    // Only program 0 exists; a host asking for others is ignored.
    e->dispatcher(e, effSetProgram, 0, 1, nullptr, 0);
    e->dispatcher(e, effSetProgram, 0, -3, nullptr, 0);
    e->dispatcher(e, effSetProgram, 0, 0, nullptr, 0);
    EXPECT_EQ(probe.programsSet, std::vector<VstInt32>{0});

    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    e->dispatcher(e, effSetBlockSize, 0, 256, nullptr, 0);
    EXPECT_FLOAT_EQ(probe.getSampleRate(), 48000.0f);
    EXPECT_EQ(probe.getBlockSize(), 256);

    VstEvents none{};
    EXPECT_EQ(e->dispatcher(e, effProcessEvents, 0, 0, &none, 0), 100);
    EXPECT_EQ(e->dispatcher(e, effGetVstVersion, 0, 0, nullptr, 0), 2400);
    EXPECT_EQ(e->dispatcher(e, 1234, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effGetMidiKeyName, 0, 0, nullptr, 0), 0);

    e->setParameter(e, 2, 0.25f);
    EXPECT_EQ(probe.lastSet, (std::pair<VstInt32, float>{2, 0.25f}));
}

TEST_F(EffectBase, EditorOperationsWithoutAnEditorAnswerZero) {
    Probe probe(recordingHost);
    AEffect* e = probe.getAeffect();
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effEditClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effEditKeyDown, 'a', 0, nullptr, 0), 0);
    // Text requests with no buffer are refused rather than written through null.
    EXPECT_EQ(e->dispatcher(e, effGetParamName, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effGetEffectName, 0, 0, nullptr, 0), 0);
}

TEST_F(EffectBase, KeysReachTheEditorWithTheirCodes) {
    Probe probe(recordingHost);
    auto* editor = new KeyEditor;
    probe.setEditor(editor);
    AEffect* e = probe.getAeffect();
    EXPECT_TRUE(e->flags & effFlagsHasEditor);
    EXPECT_EQ(e->dispatcher(e, effEditKeyDown, 0, VKEY_UP, nullptr, MODIFIER_SHIFT), 1);
    EXPECT_EQ(editor->lastKey.virt, VKEY_UP);
    EXPECT_EQ(editor->lastKey.modifier, MODIFIER_SHIFT);
}

TEST_F(EffectBase, ClassLevelCloseDestroysTheObject) {
    bool destroyed = false;
    auto* probe = new Probe(recordingHost, &destroyed);
    AEffect* e = probe->getAeffect();
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_TRUE(destroyed);
}

TEST_F(EffectBase, HostOperationsSendTheirCodesAndReadReplies) {
    Probe probe(recordingHost);
    hostReply = 0;
    EXPECT_EQ(probe.getMasterVersion(), 1);  // a host that answers 0 still counts as version 1
    hostReply = 2400;
    EXPECT_EQ(probe.getMasterVersion(), 2400);

    hostReply = -1;
    char capability[] = "sendVstTimeInfo";
    EXPECT_TRUE(probe.canHostDo(capability));
    hostReply = 0;
    EXPECT_FALSE(probe.canHostDo(capability));

    hostCalls.clear();
    hostReply = 1;
    probe.setParameterAutomated(3, 0.5f);
    EXPECT_EQ(probe.lastSet, (std::pair<VstInt32, float>{3, 0.5f}));
    ASSERT_EQ(hostCalls.size(), 1u);
    EXPECT_EQ(hostCalls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(hostCalls[0].index, 3);
    EXPECT_FLOAT_EQ(hostCalls[0].opt, 0.5f);

    hostCalls.clear();
    probe.getTimeInfo(1539);
    probe.beginEdit(7);
    probe.endEdit(7);
    ASSERT_EQ(hostCalls.size(), 3u);
    EXPECT_EQ(hostCalls[0].opcode, audioMasterGetTime);
    EXPECT_EQ(hostCalls[0].value, 1539);
    EXPECT_EQ(hostCalls[1].opcode, audioMasterBeginEdit);
    EXPECT_EQ(hostCalls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(hostCalls[2].index, 7);

    char vendor[kVstMaxVendorStrLen] = "stale";
    EXPECT_TRUE(probe.getHostVendorString(vendor));
    EXPECT_STREQ(vendor, "Vendor");

    hostReply = 96000;
    EXPECT_DOUBLE_EQ(probe.updateSampleRate(), 96000.0);
    hostReply = -5;
    EXPECT_DOUBLE_EQ(probe.updateSampleRate(), 96000.0);
}

TEST_F(EffectBase, WithoutAHostEveryHostOperationGivesItsDefault) {
    Probe probe(nullptr);
    char text[kVstMaxProductStrLen] = "stale";
    EXPECT_EQ(probe.getMasterVersion(), 1);
    EXPECT_EQ(probe.getCurrentUniqueId(), 0);
    EXPECT_EQ(probe.getTimeInfo(1539), nullptr);
    EXPECT_FALSE(probe.getHostProductString(text));
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(probe.beginEdit(0));
    EXPECT_FALSE(probe.sizeWindow(10, 10));
    EXPECT_EQ(probe.getDirectory(), nullptr);
    probe.setParameterAutomated(1, 0.75f);  // still sets the value
    EXPECT_EQ(probe.lastSet.first, 1);
    EXPECT_EQ(probe.updateBlockSize(), 1024);
}

}  // namespace
