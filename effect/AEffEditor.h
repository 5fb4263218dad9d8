// The editor an effect owns: the host opens it inside a window of its own and
// drives it through the effect's dispatcher.
#pragma once

#include "effect/VstAbi.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
    virtual ~AEffEditor() = default;

    AudioEffect* getEffect() const { return effect; }  // any

    virtual bool getRect(ERect** rect) { *rect = nullptr; return false; }  // control
    virtual bool open(void* parentWindow) { systemWindow = parentWindow; return false; }  // control
    virtual void close() { systemWindow = nullptr; }  // control
    virtual bool isOpen() const { return systemWindow != nullptr; }  // any
    virtual void idle() {}  // control

    virtual bool onKeyDown(VstKeyCode& /*key*/) { return false; }  // control
    virtual bool onKeyUp(VstKeyCode& /*key*/) { return false; }  // control
    virtual bool onWheel(float /*distance*/) { return false; }  // control
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }  // control

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
