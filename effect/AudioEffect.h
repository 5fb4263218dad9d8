// The effect side of the VST 2.4 interface: owns the effect record a host
// sees, turns dispatcher calls into virtual operations and offers the basic
// host operations through the audioMaster callback.
#pragma once

#include "effect/AEffEditor.h"
#include "effect/VstAbi.h"

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);  // control
    virtual ~AudioEffect();  // control; deletes the editor

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);  // any

    virtual void open() {}  // control
    virtual void close() {}  // control
    virtual void suspend() {}  // control
    virtual void resume() {}  // control

    virtual float getSampleRate() { return sampleRate; }  // any
    virtual void setSampleRate(float newRate) { sampleRate = newRate; }  // control
    virtual VstInt32 getBlockSize() { return blockSize; }  // any
    virtual void setBlockSize(VstInt32 newSize) { blockSize = newSize; }  // control

    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;  // audio
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, VstInt32 /*sampleFrames*/) {}  // audio
    // The accumulating process of old hosts.
    virtual void __processDeprecated(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}  // audio

    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}  // any
    virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }  // any
    virtual void setParameterAutomated(VstInt32 index, float value);  // any

    virtual VstInt32 getProgram() { return curProgram; }  // any
    virtual void setProgram(VstInt32 program) { curProgram = program; }  // control
    virtual void setProgramName(char* /*name*/) {}  // control
    virtual void getProgramName(char* name) { *name = 0; }  // control

    virtual void getParameterLabel(VstInt32 /*index*/, char* label) { *label = 0; }  // control
    virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { *text = 0; }  // control
    virtual void getParameterName(VstInt32 /*index*/, char* text) { *text = 0; }  // control

    virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/ = false) { return 0; }  // control
    virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/ = false) { return 0; }  // control

    // Record setters and getters.
    virtual void setUniqueID(VstInt32 id) { cEffect.uniqueID = id; }  // control
    virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }  // control
    virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }  // control
    virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }  // control
    virtual void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }  // control
    virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }  // control
    virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }  // control

    // control; the effect owns the new editor from now on. A replaced editor
    // is not deleted here: whoever replaces it takes it back (getEditor first).
    virtual void setEditor(AEffEditor* newEditor);
    virtual AEffEditor* getEditor() { return editor; }  // any
    virtual AEffect* getAeffect() { return &cEffect; }  // any

    // Host operations.
    virtual VstInt32 getMasterVersion();  // any
    virtual VstInt32 getCurrentUniqueId();  // any
    virtual void masterIdle();  // control

    // The class-level entries stored in the record; each finds its object
    // through the record's `object` field.
    static VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    static float getParameterClass(AEffect* e, VstInt32 index);
    static void setParameterClass(AEffect* e, VstInt32 index, float value);
    static void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
    static void processReplacingClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
    static void processDoubleReplacingClass(AEffect* e, double** inputs, double** outputs, VstInt32 sampleFrames);

protected:
    // Calls the host; 0 when there is no host callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);
    void setFlag(VstInt32 flag, bool state);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    VstInt32 blockSize = 1024;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram = 0;
    AEffect cEffect;
};
