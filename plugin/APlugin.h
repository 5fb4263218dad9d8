// The effect object: one running instance of Tidewalker with its parameter
// slots, program record, MIDI queue, host flags and editor link. The host
// reaches it through the VST 2.4 dispatcher of its base classes.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "effect/AudioEffectX.h"
#include "engine/SharedValue.h"
#include "engine/uSignalChain.h"
#include "platform/PreferenceSnapshot.h"
#include "platform/FilePaths.h"
#include "plugin/EditorMailbox.h"
#include "plugin/MidiControllerPrefs.h"
#include "plugin/ParameterSlots.h"
#include "plugin/ParameterTable.h"
#include "plugin/TakeMemoryKeeper.h"
#include "plugin/TextBuffers.h"
#include "plugin/uPluginPresetsBanks.h"

class APlugin : public AudioEffectX, private TSignalChain::Owner {
public:
    static constexpr VstInt32 kMidiQueueSize = 250;
    static constexpr VstInt32 kFreeMidiSlot = -99;  // delta frames of an unused queue record
    static constexpr VstInt32 kUniqueId = fourCharCode("ktVS");
    static constexpr VstInt32 kVendorVersion = 0x10000;

    explicit APlugin(audioMasterCallback audioMaster);  // control
    ~APlugin() override;  // control

    // Effect interface, in the order of its slots.
    void suspend() override;  // control
    void resume() override;  // control
    // Picks up preferences another process changed ("MuteReverse"); cheap,
    // reads the file at most every 2 s. The editor's idle calls it too.
    void refreshPreferences();  // control
    void setSampleRate(float rate) override;  // control
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept override;  // audio
    void setParameter(VstInt32 index, float value) noexcept override;  // any
    float getParameter(VstInt32 index) noexcept override;  // any
    void getParameterLabel(VstInt32 index, char* text) noexcept override;  // any
    void getParameterDisplay(VstInt32 index, char* text) noexcept override;  // any
    // The text getParameterDisplay would show once value were set, without
    // setting it: the live parameter stays as it is for every other thread.
    void getParameterDisplayForValue(VstInt32 index, float value, char* text) const noexcept;  // any
    void getParameterName(VstInt32 index, char* text) noexcept override;  // any
    void __processDeprecated(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept override;  // audio
    bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;  // control
    bool getEffectName(char* name) override;  // control
    bool getVendorString(char* text) override;  // control
    bool getProductString(char* text) override;  // control
    VstInt32 getVendorVersion() override;  // control
    VstInt32 canDo(char* text) override;  // control
    void setProgram(VstInt32 index) override;  // control
    void setProgramName(char* name) override;  // control
    void getProgramName(char* name) override;  // control
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;  // control
    VstInt32 getChunk(void** data, bool isPreset) override;  // control
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;  // control
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;  // control
    // Tell the editor (when there is one) which parameter is being edited,
    // then the host; the host hears of the gesture with or without an editor.
    bool beginEdit(VstInt32 index) override;  // control
    bool endEdit(VstInt32 index) override;  // control

    // Start-up.
    void setDefaultSettings() noexcept;  // control
    void initVariables();  // control
    void getDirectoryPaths();  // control
    const char* getHelpFileStr() const noexcept;  // control
    // Help: shows the manual in the desktop's viewer, looking it up again so
    // that one installed since start-up is found. False, and nothing shown,
    // when no installed manual can be read.
    bool openManual();  // control

    // The audio engine, run by the signal chain. The two resets may be asked
    // for from any thread; the audio thread carries them out before its next
    // frame, so they never race with a frame in progress.
    void processSound() noexcept;  // audio
    void setHost() noexcept;  // audio
    void setOften() noexcept;  // audio
    void resetReverse(VstInt32 voice) noexcept;  // any
    void resetEverything() noexcept;  // any

    // Display and meter data, as the signal chain records it; the queries
    // read whole values and change nothing, except that getVu hands out and
    // clears the chain's vuPeak.
    float getReverseDisplayLengthMS() const noexcept;  // any
    float getReverseDisplayLengthQuantized() const noexcept;  // any
    float getReverseDisplayLengthQB() const noexcept;  // any
    float getDisplayValue(float x, float width, bool input) const noexcept;  // any
    float getReversePosition() const noexcept;  // any
    float getRecordPosition() const noexcept;  // any
    float getReverseLength() const noexcept;  // any
    float getHoldTime() const noexcept;  // any
    bool getSilent() const noexcept;  // any
    bool getReverseManualTrigger() const noexcept;  // any
    float getLFOPos() const noexcept;  // any
    float getVu() noexcept;  // any

    // Editor link. The editor sets busy while it builds its window, then open.
    bool isEditorOpen() const noexcept;  // any
    // Asks an open editor to re-read its controls and leave the settings page;
    // only raises a flag, so the audio thread may call it.
    void editorResume() noexcept;  // any
    void setEditorBusy(bool busy) noexcept;  // control
    void setEditorOpen(bool open) noexcept;  // control
    bool getEditChanged() const noexcept;  // any
    void setLockOffset(bool on) noexcept;  // control
    bool getLockOffset() const noexcept;  // any

    // The factory bank and the three revert commands of the preset menu.
    // setFactoryProgram also runs on the audio thread, between frames, for a
    // MIDI program change; it allocates, locks and reads nothing there.
    void setFactoryProgram(VstInt32 n);  // control, audio
    void changeFactoryProgramDelta(VstInt32 delta);  // control
    void origProgram();  // control
    void editProgram();  // control
    void defaultProgram();  // control
    // The stored program table, as an adapter saves and restores it whole.
    // Reading answers false outside the table; writing clamps the values as
    // setParameter would and leaves the live parameters alone until the
    // program is applied with setProgram.
    bool getProgramRecord(VstInt32 index, ProgramRecord& record) const noexcept;  // control
    bool setProgramRecord(VstInt32 index, const ProgramRecord& record) noexcept;  // control
    // The preset's name, or "None" outside the bank; the text never changes
    // while the instance lives, so any thread may keep and read it.
    const char* getPresetName(VstInt32 n) const noexcept;  // any

    // Readings of the parameter slots.
    float loadValue(VstInt32 index) const noexcept;  // any; 0 outside the slots
    bool getOnOff(VstInt32 index) const noexcept;  // any
    VstInt32 getSteppedValue(VstInt32 index, float scale, VstInt32 count) const noexcept;  // any
    VstInt32 getReverseTriggerMode() const noexcept;  // any
    VstInt32 getFilterMode() noexcept;  // any
    VstInt32 getLFOMode() noexcept;  // any
    VstInt32 getLFOWave() const noexcept;  // any
    VstInt32 getLFOPhase() const noexcept;  // any
    VstInt32 getLFOSyncedSpeed() const noexcept;  // any

    // Value texts in the units each parameter shows.
    static ShortText getFloatString(float value, VstInt32 decimals) noexcept;  // any
    ShortText getFilterFrequencyText(VstInt32 index, bool forceHz) const noexcept;  // any
    ShortText getReverseLenStr(VstInt32 index, float value, bool synced) const noexcept;  // any
    ShortText getLfoSpeedText(VstInt32 index, VstInt32 divisor, VstInt32 exponent,
                              bool allowOff) const noexcept;  // any

    // The parameter menu's editing commands; the first two ask the user.
    void setNumValue(VstInt32 index);  // control
    void getLimitedValue(VstInt32 index, float scale, VstInt32 count, const char* const* names);  // control
    void changeDelta(VstInt32 index, VstInt32 delta) noexcept;  // control

    // The editor's mailbox; its idle takes from it. Every setParameter marks
    // its slot there, whoever calls it; a resume request (after editorResume:
    // re-read every control, return to the front panel) and the four meter
    // levels (input L/R, output L/R, followers x 4, every 2048 frames while
    // the editor is open) arrive there too.
    EditorMailbox& getEditorMailbox() noexcept { return editorMailbox; }  // control

    // MIDI control: the queue is filled and drained on the audio thread; the
    // controller map is learned there and edited from the parameter menu.
    VstInt32 processEvents(VstEvents* events) noexcept override;  // audio
    void processMidi(long frames) noexcept;  // audio
    void setMidiLatch(VstInt32 index, bool on);  // control
    void setMidiCCNum(VstInt32 index);  // control
    void resetMidi();  // control
    void setAllMidiControls();  // control
    void LoadECS();  // control
    void SaveECS();  // control
    // The parameter controller cc drives, 0 for none or outside 0..127. Unlike
    // getMidiCC it sees a controller learned a moment ago.
    VstInt32 getControllerAssignment(VstInt32 cc) const noexcept;  // any
    // Tells the host to read the parameters again (audioMasterUpdateDisplay)
    // after a MIDI program change, at its next idle call (effEditIdle, effIdle):
    // the audio thread only leaves a flag for it.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;  // any

protected:
    // The parameter slots with their copies and the program record (programs).
    ParameterSlots slots;
    ProgramRecord bankChunk{};
    ProgramRecord programChunk{};
    std::unique_ptr<VstMidiEvent> midiQueue[kMidiQueueSize];
    VstTimeInfo* timeInfo = nullptr;  // this block's, read into the chain's host time
    VstInt32 pendingMidiCount = 0;
    bool hostIsVendorProp = false;
    bool hostIsMaschine = false;
    bool hostIsKore = false;
    bool hostIsLumenhall = false;
    std::atomic<bool> settingProgram{false};
    // The current sample rate is the base's sampleRate.
    float lastSampleRate = 0.0f;
    char ecsDirectory[kPathBytes]{};
    char selectedFilePath[kPathBytes]{};
    char helpFilePath[kPathBytes]{};
    std::atomic<bool> lockOffset{false};
    char currentProgramName[256]{};
    char origProgramName[256]{};
    std::atomic<bool> programChanged{false};
    VstInt32 lastCCValue = 0;
    VstInt32 ccMap[kNumMidiControllers]{};
    // Declared after ccMap: it reads the map until it has joined its thread.
    ControllerMapWriter ccMapWriter{ccMap};
    std::atomic<bool> latchArmed{false};
    std::atomic<VstInt32> latchParameter{0};
    VstInt32 chosenMidiBank = -1;  // audio thread: the factory bank a bank select chose, -1 for none
    std::atomic<bool> hostUpdateRequested{false};
    // The signal chain reads the current values and writes back through setParameterFromEngine.
    TSignalChain chain{slots.currentValues, *this};
    // Between resume and suspend: take memory is committed only then, so an
    // instance that never runs stays small.
    std::atomic<bool> active{false};
    // The thread that last processed; it never commits memory itself.
    std::atomic<std::thread::id> audioThread{};
    // Commits memory for take lengths the audio thread raises itself.
    TakeMemoryKeeper::Enrollment takeMemoryKeeper{chain, active};
    PreferenceSnapshot preferences;  // "MuteReverse", "MidiPreset", "MidiBank" without touching the file
    EditorMailbox editorMailbox;
    std::atomic<bool> editorBusy{false};
    std::atomic<bool> editorOpen{false};
    char factoryNames[FACTORY_PRESET_COUNT][64]{};
    VstInt32 factoryIndex = 0;

private:
    void setEnteredValue(VstInt32 index, double value) noexcept;

    void setParameterFromEngine(VstInt32 index, float value) noexcept override;  // audio
    void handVuToEditor() noexcept;  // audio
    // Commits what takes can record once slot index holds value (the length
    // and sync settings as they stand otherwise); skipped while suspended and
    // on the audio thread.
    void commitTakeMemory(VstInt32 index, float value) noexcept;  // any
    bool editorShowing() const noexcept;  // any
    void applyControlChange(VstInt32 cc, VstInt32 value) noexcept;  // audio
    bool applyBankSelect(VstInt32 cc, VstInt32 value) noexcept;  // audio; false: not a bank select
    void applyProgramChange(VstInt32 program) noexcept;  // audio
    void identifyHost();
    bool chunkAccepted(bool isPreset) const noexcept;
};

// control: the factory the adapter and the plug-in entry use.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
