// How the unit is described to hosts: what its bundle's component
// description and identifier say. The view and the adapter look the bundle
// up by this identifier.
#pragma once

#include "au/sdk/AudioUnit.h"

namespace tidewalker::au {

// An effect that also receives MIDI events.
inline constexpr AudioComponentDescription kComponentDescription{
    kAudioUnitType_MusicEffect, 0x6B745653 /* 'ktVS' */, 0x4B544C4D /* 'KTLM' */, 0, 0};
inline constexpr const char* kComponentName = "Ola Marsk: Tidewalker";
inline constexpr const char* kBundleIdentifier = "com.olamarsk.audiounit.Tidewalker";
inline constexpr const char* kViewFactoryClass = "Duvevudo_KTLM_CocoaViewFactory";

// The private properties between the view and the unit, and one for hosts
// of our own (the renderer, tests).
enum : AudioUnitPropertyID {
    // set: the view (8 bytes); a null reference closes the editor, and when the
    // leaving view follows it (16 bytes), only if that view holds the editor.
    kEditorViewProperty = 65536,
    kEditorSizeProperty = 65537,  // get: width and height as two doubles
    kEditorIdleProperty = 65538,  // set: any 8 bytes; one idle tick for the editor
    // set: a UInt32 seed for the "S&H" wave's random steps, so a render
    // repeats exactly (and matches the VST entry given the same seed).
    kRandomSeedProperty = 65539,
};

}  // namespace tidewalker::au
