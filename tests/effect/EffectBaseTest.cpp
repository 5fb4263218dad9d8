// The base classes' dispatch and host operations, with a recording host.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "effect/AudioEffectX.h"

namespace {

using HostCall = std::tuple<VstInt32, VstInt32, VstIntPtr, float>;  // opcode, index, value, opt
std::vector<HostCall> hostCalls;
VstIntPtr hostReply = 0;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    hostCalls.emplace_back(opcode, index, value, opt);
    if (opcode == audioMasterGetVendorString && ptr) std::strcpy(static_cast<char*>(ptr), "Vendor");
    return hostReply;
}

class Probe : public AudioEffectX {
public:
    explicit Probe(audioMasterCallback host) : AudioEffectX(host, 1, 4) {}
    ~Probe() override { ++destroyed; }
    void processReplacing(float**, float**, VstInt32) override {}
    void suspend() override { ++suspends; }
    void resume() override { ++resumes; }
    void setProgram(VstInt32 program) override { programsSet.push_back(program); }
    void setParameter(VstInt32 index, float value) override { lastSet = {index, value}; }
    VstInt32 processEvents(VstEvents* events) override { return events ? events->numEvents + 100 : -1; }

    static inline int destroyed = 0;
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
    EXPECT_EQ(std::tuple(e->magic, e->numPrograms, e->numParams, e->numInputs, e->numOutputs, e->version, e->uniqueID),
              std::tuple(kEffectMagic, 1, 4, 1, 2, 1, fourCharCode("NoEf")));
    EXPECT_EQ(e->object, &probe);
    EXPECT_EQ(std::tuple(probe.getSampleRate(), probe.getBlockSize()), std::tuple(44100.0f, 1024));
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    probe.programsAreChunks(true);
    probe.isSynth(true);
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth);
    EXPECT_EQ(probe.getPlugCategory(), kPlugCategSynth);
    probe.isSynth(false);
    EXPECT_EQ(probe.getPlugCategory(), kPlugCategUnknown);
}

TEST_F(EffectBase, DispatcherRoutesTheBaseOperationsKeysAndClose) {
    auto* probe = new Probe(recordingHost);
    AEffect* e = probe->getAeffect();
    for (const VstIntPtr mains : {0, 7, -1}) e->dispatcher(e, effMainsChanged, 0, mains, nullptr, 0);
    EXPECT_EQ(std::pair(probe->suspends, probe->resumes), std::pair(1, 2));

    // Only program 0 exists; a host asking for others is ignored.
    for (const VstIntPtr program : {1, -3, 0}) e->dispatcher(e, effSetProgram, 0, program, nullptr, 0);
    EXPECT_EQ(probe->programsSet, std::vector<VstInt32>{0});

    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    e->dispatcher(e, effSetBlockSize, 0, 256, nullptr, 0);
    EXPECT_EQ(std::tuple(probe->getSampleRate(), probe->getBlockSize()), std::tuple(48000.0f, 256));
    e->setParameter(e, 2, 0.25f);
    EXPECT_EQ(probe->lastSet, (std::pair<VstInt32, float>{2, 0.25f}));

    VstEvents none{};
    const std::pair<VstInt32, VstIntPtr> answers[] = {
        {effIdentify, fourCharCode("NvEf")}, {effGetVstVersion, 2400}, {1234, 0}, {effGetMidiKeyName, 0},
        // No editor yet; text requests with no buffer are refused rather than written through null.
        {effEditOpen, 0}, {effEditClose, 0}, {effEditIdle, 0}, {effEditKeyDown, 0}, {effGetParamName, 0},
        {effGetEffectName, 0}};
    for (auto [opcode, answer] : answers) EXPECT_EQ(e->dispatcher(e, opcode, 0, 0, nullptr, 0), answer) << opcode;
    EXPECT_EQ(e->dispatcher(e, effProcessEvents, 0, 0, &none, 0), 100);
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 0);

    auto* editor = new KeyEditor;
    probe->setEditor(editor);
    EXPECT_TRUE(e->flags & effFlagsHasEditor);
    EXPECT_EQ(e->dispatcher(e, effEditKeyDown, 0, VKEY_UP, nullptr, MODIFIER_SHIFT), 1);
    EXPECT_EQ(editor->lastKey.virt, VKEY_UP);
    EXPECT_EQ(editor->lastKey.modifier, MODIFIER_SHIFT);

    const int destroyedBefore = Probe::destroyed;
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(Probe::destroyed, destroyedBefore + 1);
}

TEST_F(EffectBase, HostOperationsSendTheirCodesAndReadReplies) {
    Probe probe(recordingHost);
    EXPECT_EQ(probe.getMasterVersion(), 1);  // a host that answers 0 still counts as version 1
    hostReply = 2400;
    EXPECT_EQ(probe.getMasterVersion(), 2400);
    char capability[] = "sendVstTimeInfo";
    hostReply = -1;
    EXPECT_TRUE(probe.canHostDo(capability));
    hostReply = 0;
    EXPECT_FALSE(probe.canHostDo(capability));

    hostCalls.clear();
    hostReply = 1;
    probe.setParameterAutomated(3, 0.5f);
    EXPECT_EQ(probe.lastSet, (std::pair<VstInt32, float>{3, 0.5f}));
    probe.getTimeInfo(1539);
    probe.beginEdit(7);
    probe.endEdit(7);
    EXPECT_EQ(hostCalls, (std::vector<HostCall>{{audioMasterAutomate, 3, 0, 0.5f},
                                                {audioMasterGetTime, 0, 1539, 0.0f},
                                                {audioMasterBeginEdit, 7, 0, 0.0f},
                                                {audioMasterEndEdit, 7, 0, 0.0f}}));

    char vendor[kVstMaxVendorStrLen] = "stale";
    EXPECT_TRUE(probe.getHostVendorString(vendor));
    EXPECT_STREQ(vendor, "Vendor");
    hostReply = 96000;
    EXPECT_DOUBLE_EQ(probe.updateSampleRate(), 96000.0);
    hostReply = -5;  // nonsense keeps the rate it had
    EXPECT_DOUBLE_EQ(probe.updateSampleRate(), 96000.0);
}

TEST_F(EffectBase, WithoutAHostEveryHostOperationGivesItsDefault) {
    Probe probe(nullptr);
    char text[kVstMaxProductStrLen] = "stale";
    EXPECT_EQ(std::tuple(probe.getMasterVersion(), probe.getCurrentUniqueId(), probe.updateBlockSize()),
              std::tuple(1, 0, 1024));
    EXPECT_TRUE(probe.getTimeInfo(1539) == nullptr && probe.getDirectory() == nullptr);
    EXPECT_FALSE(probe.getHostProductString(text));
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(probe.beginEdit(0) || probe.sizeWindow(10, 10));
    probe.setParameterAutomated(1, 0.75f);  // still sets the value
    EXPECT_EQ(probe.lastSet.first, 1);
}

}  // namespace
