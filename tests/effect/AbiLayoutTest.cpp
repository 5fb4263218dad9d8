// Our ABI declarations against Debian's fst headers, an independent
// reverse-engineered declaration of the same interface. Both are compiled
// here side by side; every field and code the two share must agree.
#include <gtest/gtest.h>

#include <cstddef>

#include "effect/VstAbi.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
namespace fst {
#include <pluginterfaces/fst/fst.h>
}
#pragma GCC diagnostic pop

namespace {

struct FieldOffsets {
    std::size_t ours;
    std::size_t theirs;
    const char* field;
};
#define SAME(Ours, Theirs, field) FieldOffsets{offsetof(Ours, field), offsetof(Theirs, field), #Ours "::" #field}

void expectSameOffsets(std::initializer_list<FieldOffsets> fields) {
    for (const FieldOffsets& f : fields) EXPECT_EQ(f.ours, f.theirs) << f.field;
}

TEST(AbiLayout, EffectRecordFieldsSitWhereFstPutsThem) {
#define E(field) SAME(AEffect, fst::t_fstEffect, field)
    expectSameOffsets({E(magic), E(dispatcher), E(process), E(setParameter), E(getParameter), E(numPrograms),
                       E(numParams), E(numInputs), E(numOutputs), E(flags), E(resvd1), E(resvd2), E(initialDelay),
                       E(object), E(user), E(uniqueID), E(version), E(processReplacing), E(processDoubleReplacing)});
#undef E
    EXPECT_EQ(offsetof(AEffect, ioRatio), offsetof(fst::t_fstEffect, float1));
    EXPECT_EQ(kEffectMagic, fst::kEffectMagic);
}

TEST(AbiLayout, EventAndTimeStructuresAgree) {
    EXPECT_EQ(sizeof(VstEvent), sizeof(fst::t_fstEvent) + 16);  // fst leaves out the payload
    EXPECT_EQ(sizeof(VstMidiEvent), sizeof(fst::t_fstMidiEvent));
#define M(field) SAME(VstMidiEvent, fst::t_fstMidiEvent, field)
    expectSameOffsets({M(type), M(byteSize), M(deltaFrames), M(flags), M(midiData),
                       SAME(VstEvents, fst::t_fstEvents, numEvents), SAME(VstEvents, fst::t_fstEvents, events)});
#undef M
    // fst guesses two more fields after `flags` (its size is 96); hosts only
    // read up to `flags`, which ends at 88 in both.
#define T(field) SAME(VstTimeInfo, fst::t_fstTimeInfo, field)
    expectSameOffsets({T(samplePos), T(sampleRate), T(nanoSeconds), T(ppqPos), T(tempo), T(barStartPos),
                       T(cycleStartPos), T(cycleEndPos), T(timeSigNumerator), T(timeSigDenominator),
                       T(samplesToNextClock), T(flags)});
#undef T
    EXPECT_EQ(sizeof(ERect), sizeof(fst::t_fstRectangle));
    EXPECT_EQ(sizeof(VstSpeakerProperties), sizeof(fst::t_fstSpeakerProperties));
#define R(field) SAME(ERect, fst::t_fstRectangle, field)
#define P(field) SAME(VstPinProperties, fst::t_fstPinProperties, field)
    expectSameOffsets({R(top), R(left), R(bottom), R(right), P(label), P(flags), P(arrangementType), P(shortLabel),
                       SAME(VstSpeakerProperties, fst::t_fstSpeakerProperties, name),
                       SAME(VstSpeakerProperties, fst::t_fstSpeakerProperties, type),
                       SAME(VstSpeakerArrangement, fst::t_fstSpeakerArrangement, speakers)});
#undef R
#undef P
}

TEST(AbiLayout, OperationCodesAgree) {
    const std::pair<int, int> effectCodes[] = {
        {effOpen, fst::effOpen}, {effClose, fst::effClose}, {effSetProgram, fst::effSetProgram},
        {effGetProgram, fst::effGetProgram}, {effSetProgramName, fst::effSetProgramName},
        {effGetProgramName, fst::effGetProgramName}, {effGetParamLabel, fst::effGetParamLabel},
        {effGetParamDisplay, fst::effGetParamDisplay}, {effGetParamName, fst::effGetParamName},
        {effSetSampleRate, fst::effSetSampleRate}, {effSetBlockSize, fst::effSetBlockSize},
        {effMainsChanged, fst::effMainsChanged}, {effEditGetRect, fst::effEditGetRect},
        {effEditOpen, fst::effEditOpen}, {effEditClose, fst::effEditClose},
        {effEditIdle, fst::effEditIdle}, {effIdentify, fst::effIdentify},
        {effGetChunk, fst::effGetChunk}, {effSetChunk, fst::effSetChunk},
        {effProcessEvents, fst::effProcessEvents}, {effCanBeAutomated, fst::effCanBeAutomated},
        {effString2Parameter, fst::effString2Parameter},
        {effGetProgramNameIndexed, fst::effGetProgramNameIndexed},
        {effGetInputProperties, fst::effGetInputProperties},
        {effGetOutputProperties, fst::effGetOutputProperties},
        {effGetPlugCategory, fst::effGetPlugCategory},
        {effSetSpeakerArrangement, fst::effSetSpeakerArrangement},
        {effGetEffectName, fst::effGetEffectName}, {effGetVendorString, fst::effGetVendorString},
        {effGetProductString, fst::effGetProductString},
        {effGetVendorVersion, fst::effGetVendorVersion}, {effVendorSpecific, fst::effVendorSpecific},
        {effCanDo, fst::effCanDo}, {effGetVstVersion, fst::effGetVstVersion},
        {effGetSpeakerArrangement, fst::effGetSpeakerArrangement},
        {effShellGetNextPlugin, fst::effShellGetNextPlugin},
        {effSetTotalSampleToProcess, fst::effSetTotalSampleToProcess},
        {effSetProcessPrecision, fst::effSetProcessPrecision},
    };
    for (auto [ours, theirs] : effectCodes) EXPECT_EQ(ours, theirs);

    const std::pair<int, int> hostCodes[] = {
        {audioMasterAutomate, fst::audioMasterAutomate}, {audioMasterVersion, fst::audioMasterVersion},
        {audioMasterWantMidi, fst::audioMasterWantMidi}, {audioMasterGetTime, fst::audioMasterGetTime},
        {audioMasterProcessEvents, fst::audioMasterProcessEvents},
        {audioMasterTempoAt, fst::audioMasterTempoAt}, {audioMasterSizeWindow, fst::audioMasterSizeWindow},
        {audioMasterGetSampleRate, fst::audioMasterGetSampleRate},
        {audioMasterGetBlockSize, fst::audioMasterGetBlockSize},
        {audioMasterGetCurrentProcessLevel, fst::audioMasterGetCurrentProcessLevel},
        {audioMasterGetVendorString, fst::audioMasterGetVendorString},
        {audioMasterGetProductString, fst::audioMasterGetProductString},
        {audioMasterGetVendorVersion, fst::audioMasterGetVendorVersion},
        {audioMasterCanDo, fst::audioMasterCanDo}, {audioMasterBeginEdit, fst::audioMasterBeginEdit},
        {audioMasterEndEdit, fst::audioMasterEndEdit},
    };
    for (auto [ours, theirs] : hostCodes) EXPECT_EQ(ours, theirs);

    const std::pair<int, int> constants[] = {
        {effFlagsHasEditor, fst::effFlagsHasEditor}, {effFlagsCanReplacing, fst::effFlagsCanReplacing},
        {effFlagsProgramChunks, fst::effFlagsProgramChunks}, {effFlagsIsSynth, fst::effFlagsIsSynth},
        {effFlagsNoSoundInStop, fst::effFlagsNoSoundInStop}, {kPlugCategSynth, fst::kPlugCategSynth},
        {effFlagsCanDoubleReplacing, fst::effFlagsCanDoubleReplacing}, {kVstMidiType, fst::kVstMidiType},
        {kVstTransportChanged, fst::kVstTransportChanged}, {kVstTransportPlaying, fst::kVstTransportPlaying},
        {kVstTransportCycleActive, fst::kVstTransportCycleActive}, {kVstSysExType, fst::kVstSysExType},
        {kVstTransportRecording, fst::kVstTransportRecording}, {kVstCyclePosValid, fst::kVstCyclePosValid},
        {kVstMaxParamStrLen, fst::kVstMaxParamStrLen}};
    for (auto [ours, theirs] : constants) EXPECT_EQ(ours, theirs);
}

}  // namespace
