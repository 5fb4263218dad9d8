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

#define EXPECT_SAME_OFFSET(ours, theirs, field) \
    EXPECT_EQ(offsetof(ours, field), offsetof(theirs, field)) << #ours "::" #field

TEST(AbiLayout, EffectRecordFieldsSitWhereFstPutsThem) {
    using Theirs = fst::t_fstEffect;
    EXPECT_SAME_OFFSET(AEffect, Theirs, magic);
    EXPECT_SAME_OFFSET(AEffect, Theirs, dispatcher);
    EXPECT_SAME_OFFSET(AEffect, Theirs, process);
    EXPECT_SAME_OFFSET(AEffect, Theirs, setParameter);
    EXPECT_SAME_OFFSET(AEffect, Theirs, getParameter);
    EXPECT_SAME_OFFSET(AEffect, Theirs, numPrograms);
    EXPECT_SAME_OFFSET(AEffect, Theirs, numParams);
    EXPECT_SAME_OFFSET(AEffect, Theirs, numInputs);
    EXPECT_SAME_OFFSET(AEffect, Theirs, numOutputs);
    EXPECT_SAME_OFFSET(AEffect, Theirs, flags);
    EXPECT_SAME_OFFSET(AEffect, Theirs, resvd1);
    EXPECT_SAME_OFFSET(AEffect, Theirs, resvd2);
    EXPECT_SAME_OFFSET(AEffect, Theirs, initialDelay);
    EXPECT_EQ(offsetof(AEffect, ioRatio), offsetof(Theirs, float1));
    EXPECT_SAME_OFFSET(AEffect, Theirs, object);
    EXPECT_SAME_OFFSET(AEffect, Theirs, user);
    EXPECT_SAME_OFFSET(AEffect, Theirs, uniqueID);
    EXPECT_SAME_OFFSET(AEffect, Theirs, version);
    EXPECT_SAME_OFFSET(AEffect, Theirs, processReplacing);
    EXPECT_SAME_OFFSET(AEffect, Theirs, processDoubleReplacing);
    EXPECT_EQ(kEffectMagic, fst::kEffectMagic);
}

TEST(AbiLayout, EventAndTimeStructuresAgree) {
    EXPECT_EQ(sizeof(VstEvent), sizeof(fst::t_fstEvent) + 16);  // fst leaves out the payload
    EXPECT_SAME_OFFSET(VstMidiEvent, fst::t_fstMidiEvent, type);
    EXPECT_SAME_OFFSET(VstMidiEvent, fst::t_fstMidiEvent, byteSize);
    EXPECT_SAME_OFFSET(VstMidiEvent, fst::t_fstMidiEvent, deltaFrames);
    EXPECT_SAME_OFFSET(VstMidiEvent, fst::t_fstMidiEvent, flags);
    EXPECT_SAME_OFFSET(VstMidiEvent, fst::t_fstMidiEvent, midiData);
    EXPECT_EQ(sizeof(VstMidiEvent), sizeof(fst::t_fstMidiEvent));
    EXPECT_SAME_OFFSET(VstEvents, fst::t_fstEvents, numEvents);
    EXPECT_SAME_OFFSET(VstEvents, fst::t_fstEvents, events);

    using Time = fst::t_fstTimeInfo;
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, samplePos);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, sampleRate);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, nanoSeconds);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, ppqPos);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, tempo);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, barStartPos);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, cycleStartPos);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, cycleEndPos);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, timeSigNumerator);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, timeSigDenominator);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, samplesToNextClock);
    EXPECT_SAME_OFFSET(VstTimeInfo, Time, flags);
    // fst guesses two more fields after `flags` (its size is 96); hosts only
    // read up to `flags`, which ends at 88 in both.

    EXPECT_EQ(sizeof(ERect), sizeof(fst::t_fstRectangle));
    EXPECT_SAME_OFFSET(ERect, fst::t_fstRectangle, top);
    EXPECT_SAME_OFFSET(ERect, fst::t_fstRectangle, left);
    EXPECT_SAME_OFFSET(ERect, fst::t_fstRectangle, bottom);
    EXPECT_SAME_OFFSET(ERect, fst::t_fstRectangle, right);

    EXPECT_SAME_OFFSET(VstPinProperties, fst::t_fstPinProperties, label);
    EXPECT_SAME_OFFSET(VstPinProperties, fst::t_fstPinProperties, flags);
    EXPECT_SAME_OFFSET(VstPinProperties, fst::t_fstPinProperties, arrangementType);
    EXPECT_SAME_OFFSET(VstPinProperties, fst::t_fstPinProperties, shortLabel);
    EXPECT_SAME_OFFSET(VstSpeakerProperties, fst::t_fstSpeakerProperties, name);
    EXPECT_SAME_OFFSET(VstSpeakerProperties, fst::t_fstSpeakerProperties, type);
    EXPECT_EQ(sizeof(VstSpeakerProperties), sizeof(fst::t_fstSpeakerProperties));
    EXPECT_SAME_OFFSET(VstSpeakerArrangement, fst::t_fstSpeakerArrangement, speakers);
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

    EXPECT_EQ(effFlagsHasEditor, fst::effFlagsHasEditor);
    EXPECT_EQ(effFlagsCanReplacing, fst::effFlagsCanReplacing);
    EXPECT_EQ(effFlagsProgramChunks, fst::effFlagsProgramChunks);
    EXPECT_EQ(effFlagsIsSynth, fst::effFlagsIsSynth);
    EXPECT_EQ(effFlagsNoSoundInStop, fst::effFlagsNoSoundInStop);
    EXPECT_EQ(effFlagsCanDoubleReplacing, fst::effFlagsCanDoubleReplacing);
    EXPECT_EQ(kPlugCategSynth, fst::kPlugCategSynth);
    EXPECT_EQ(kVstTransportChanged, fst::kVstTransportChanged);
    EXPECT_EQ(kVstTransportPlaying, fst::kVstTransportPlaying);
    EXPECT_EQ(kVstTransportCycleActive, fst::kVstTransportCycleActive);
    EXPECT_EQ(kVstTransportRecording, fst::kVstTransportRecording);
    EXPECT_EQ(kVstCyclePosValid, fst::kVstCyclePosValid);
    EXPECT_EQ(kVstMaxParamStrLen, fst::kVstMaxParamStrLen);
    EXPECT_EQ(kVstMidiType, fst::kVstMidiType);
    EXPECT_EQ(kVstSysExType, fst::kVstSysExType);
    EXPECT_EQ(kVstVersion, 2400);
}

}  // namespace
