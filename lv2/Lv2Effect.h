// One instance of Tidewalker as an LV2 plug-in: the effect object behind the
// LV2 ports. It only translates: port values become parameter changes, the
// event port becomes MIDI blocks and the answers to the effect's time query,
// and the saved state is the effect's program record.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include "lv2/HostClock.h"
#include "lv2/HostUrids.h"
#include "lv2/PortLayout.h"
#include "plugin/APlugin.h"

// Where the editor's edits go while an LV2 UI shows it: the host's port
// writes and its gestures. The editor runs on the UI thread, and so does this.
class EditorLink {
public:
    virtual ~EditorLink() = default;
    virtual void automate(VstInt32 slot, float value) = 0;  // control
    virtual void gesture(VstInt32 slot, bool begins) = 0;  // control
    // The effect changed parameters without reporting each one (a program
    // change): the host's ports may no longer show its values.
    virtual void parametersChanged() = 0;  // control
};

class Lv2Effect {
public:
    // control: the instance for the host's sample rate and features; the URID
    // map is optional (without it, events and state are unavailable).
    Lv2Effect(double sampleRate, const LV2_Feature* const* features);
    ~Lv2Effect();  // control
    Lv2Effect(const Lv2Effect&) = delete;
    Lv2Effect& operator=(const Lv2Effect&) = delete;

    void connect(std::uint32_t port, void* data) noexcept;  // audio; unknown ports are ignored
    void activate();  // control
    void deactivate();  // control
    void run(std::uint32_t frames) noexcept;  // audio

    // The program record under one key, as an atom chunk.
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);  // control
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);  // control

    APlugin& effect() noexcept { return *plugin; }  // any
    // The UI showing the editor, or none; the editor's edits reach the host through it.
    void setEditorLink(EditorLink* link) noexcept { editorLink = link; }  // control
    // The value a control port held when the effect last read it (at first
    // the effect's own value); control is the port's index among the controls.
    float portValueSeen(std::uint32_t control) const noexcept;  // any

    // MIDI events gathered from one run before the effect takes them; the
    // effect's own queue holds fewer.
    static constexpr std::uint32_t kMaxMidiPerRun = 256;

private:
    static VstIntPtr hostCallback(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt);
    void applyControls() noexcept;
    void rememberControls() noexcept;
    void takeControlsAsApplied() noexcept;
    void queueMidi(std::uint32_t frame, const LV2_Atom& atom) noexcept;
    void processUntil(std::uint32_t end) noexcept;

    HostUrids urids;
    HostClock clock;
    EditorLink* editorLink = nullptr;
    std::unique_ptr<APlugin> plugin;
    const ports::ControlSlots slots = ports::controlSlots();

    const float* audioIn[2] = {};
    float* audioOut[2] = {};
    const LV2_Atom_Sequence* events = nullptr;
    const float* controls[ports::kControlCount] = {};
    // Bits of the value each control last handed to the effect (at first the
    // effect's own value): a port moves the parameter only when the host changes it.
    std::atomic<std::uint32_t> appliedBits[ports::kControlCount] = {};

    // The run in progress: frames already processed and MIDI waiting for them.
    std::uint32_t processed = 0;
    std::uint32_t midiCount = 0;
    std::uint32_t midiFrames[kMaxMidiPerRun] = {};
    VstMidiEvent midi[kMaxMidiPerRun] = {};
};
