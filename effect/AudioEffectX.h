// The VST 2.x extensions: events, identity texts, capabilities, pin
// properties, time information and the richer host operations.
#pragma once

#include "effect/AudioEffect.h"

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);  // control

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;  // any

    // Effect operations a host may ask for; the defaults decline.
    virtual VstInt32 processEvents(VstEvents* /*events*/) { return 0; }  // audio
    virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }  // control
    virtual bool string2parameter(VstInt32 /*index*/, char* /*text*/) { return false; }  // control
    virtual VstInt32 getNumCategories() { return 1; }  // control
    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/) { return false; }  // control
    virtual bool copyProgram(VstInt32 /*destination*/) { return false; }  // control
    virtual bool getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) { return false; }  // control
    virtual bool getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) { return false; }  // control
    virtual VstPlugCategory getPlugCategory();  // control
    virtual bool setBypass(bool /*onOff*/) { return false; }  // control
    virtual bool getEffectName(char* /*name*/) { return false; }  // control
    virtual bool getVendorString(char* /*text*/) { return false; }  // control
    virtual bool getProductString(char* /*text*/) { return false; }  // control
    virtual VstInt32 getVendorVersion() { return 0; }  // control
    virtual VstIntPtr vendorSpecific(VstInt32 /*lArg*/, VstIntPtr /*lArg2*/, void* /*ptrArg*/, float /*floatArg*/) { return 0; }  // control
    virtual VstInt32 canDo(char* /*text*/) { return 0; }  // control
    virtual VstInt32 getGetTailSize() { return 0; }  // control
    virtual bool getParameterProperties(VstInt32 /*index*/, void* /*properties*/) { return false; }  // control
    virtual VstInt32 getVstVersion() { return kVstVersion; }  // control
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*input*/, VstSpeakerArrangement* /*output*/) { return false; }  // control
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);  // control
    virtual bool setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate);  // control
    virtual bool beginSetProgram() { return false; }  // control
    virtual bool endSetProgram() { return false; }  // control
    virtual VstInt32 startProcess() { return 0; }  // control
    virtual VstInt32 stopProcess() { return 0; }  // control
    virtual bool setProcessPrecision(VstInt32 /*precision*/) { return false; }  // control

    // Record setters.
    virtual void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }  // control
    virtual void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }  // control

    // Host operations.
    virtual bool beginEdit(VstInt32 index);  // control
    virtual bool endEdit(VstInt32 index);  // control
    virtual VstTimeInfo* getTimeInfo(VstInt32 filter);  // audio
    virtual bool ioChanged();  // control
    virtual bool sizeWindow(VstInt32 width, VstInt32 height);  // control
    virtual double updateSampleRate();  // control
    virtual VstInt32 updateBlockSize();  // control
    virtual bool getHostVendorString(char* text);  // control
    virtual bool getHostProductString(char* text);  // control
    virtual bool canHostDo(char* text);  // control
    virtual void* getDirectory();  // control
    virtual bool updateDisplay();  // control

    // Asks the host for MIDI when the effect is a synth or wants MIDI events.
    void resume() override;  // control
};
