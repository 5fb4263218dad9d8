// The per-frame signal chain: the trigger logic, the two reverse voices,
// distortion and filters, the LFO on filters, volume and pan, the dry/wet
// mix, and the display and meter data the editor polls. It reads the
// parameter slots it was given, learns tempo and transport as plain values
// once per block, and turns one stereo frame in its I/O slots at a time.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>

#include "engine/ParameterLayout.h"
#include "engine/SharedValue.h"
#include "engine/uFilter.h"
#include "engine/uLfo.h"
#include "engine/uReverse.h"

class TSignalChain {
public:
    // What the chain needs of whoever owns the parameter slots: writing one
    // back (the trigger button falling back to 0, the hold dragged up to the
    // length) with whatever else a write means to the owner.
    class Owner {
    public:
        virtual void setParameterFromEngine(std::int32_t index, float value) noexcept = 0;  // audio

    protected:
        ~Owner() = default;
    };

    // The host's tempo and transport for one block; known is false when the
    // host gave none, which leaves tempo and transport as they were.
    struct HostTime {
        bool known = false;
        bool tempoValid = false;
        double tempo = 0.0;
        bool playing = false;
    };

    // values: the kNumParameters slots, read whole (relaxed) while frames run.
    // Throws std::bad_alloc if the voices cannot reserve their memory.
    TSignalChain(const float* values, Owner& owner);  // control
    TSignalChain(const TSignalChain&) = delete;
    TSignalChain& operator=(const TSignalChain&) = delete;

    void init() noexcept;  // control; start values, before the first setSampleRate
    void setSampleRate(float rate) noexcept;  // control; rate already clamped and new
    // Makes resident, in both voices, what takes of this "Reverse Length"
    // value and tempo sync can record at the current rate and tempo. Called
    // before such a setting goes live, so the audio thread takes no page
    // fault recording them. A length that grows on the audio thread (a
    // controller, a tempo drop under sync) is for the chain's owner to catch
    // up off the audio thread (the voices' commitLength).
    void commitTakeMemory(float lengthValue, bool synced) noexcept;  // control
    // Tempo and transport for the frames that follow, and whether a stopping
    // transport silences the voices ("MuteReverse").
    void setHostTime(const HostTime& time, bool muteReverseOnStop) noexcept;  // audio

    // One frame: reads inputLeft/inputRight, writes outputLeft/outputRight.
    // The caller places the input pair in both before the call.
    void processSound() noexcept;  // audio
    void setHost() noexcept;  // audio
    void setOften() noexcept;  // audio
    // May be asked for from any thread: the audio thread carries them out at
    // applyPendingResets, before its next frame, so they never race a frame.
    void resetReverse(std::int32_t voice) noexcept;  // any
    void resetEverything() noexcept;  // any
    // Forgets an accepted manual take (a program change): the "Manual" light
    // goes out and the next press is taken, whatever the new trigger mode.
    void releaseManualLatch() noexcept;  // any
    // Restarts the "S&H" sequence from seed, the same way as the resets.
    void setRandomSeed(std::uint32_t seed) noexcept;  // any
    void applyPendingResets() noexcept {  // audio; cheap when none is pending
        if (pendingResets.load(std::memory_order_relaxed) != 0) applyPendingResetsNow();
    }

    // Display and meter queries: they read whole values and change nothing,
    // except that getVu hands out and clears vuPeak.
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
    float getLockedOffset() const noexcept;  // any; "Reverse Offset" as last cached

    // I/O slots of the current frame.
    float inputLeft = 0.0f;
    float inputRight = 0.0f;
    float outputLeft = 0.0f;
    float outputRight = 0.0f;

    // Engine state. The audio thread owns it; the fields that the queries
    // read (display arrays and position, hold, voice choice, latch,
    // transport, silence, zooms, tempo, rate, followers, cached switches)
    // are written through storeRelaxed and read elsewhere through loadRelaxed.
    float sampleRate = 44100.0f;
    float samplesPerBar = 0.0f;
    float tempo = 120.0f;
    HostTime hostTime;
    bool muteReverse = true;
    std::uint32_t sampleCounter = 0;  // wraps; its low bits schedule the periodic work
    std::int32_t prevTransportPlaying = 0;
    std::int32_t transportPlaying = 0;
    TReverse reverse[2];
    bool holding = false;          // a take runs and its retrigger hold has not expired
    bool displayRunning = false;   // the display has seen sound since its last restart
    bool manualLatch = false;      // a manual take was accepted and is not over
    bool triggerRequest = false;   // start a take as soon as no hold runs
    std::int32_t lastTriggerMode = -1; // -1 until the first frame, which then resets everything
    std::int32_t reverseToUse = 0;     // the voice armed most recently
    std::int32_t holdSamples = 0;
    std::int32_t samplesSinceTrigger = 0;
    std::int32_t offsetSamples = 0;
    std::int32_t hostSyncCounter = 0;
    std::int32_t quietCounter = 0;
    std::int32_t silenceCounter = 0;
    float prevHoldValue = 0.0f;
    float prevLengthValue = 0.0f;
    bool hostSyncDisplay = false;  // "Host" mode: the display advances while the transport plays
    bool hostSyncStarted = false;  // "Host" mode: the transport started a synchronised run
    bool hostPlaying = false;
    bool bypassOn = false;
    bool muteOn = false;
    bool dryMuteOn = false;
    float lockedOffsetValue = 0.0f;
    float threshold = 0.0f;        // linear trigger level
    float verticalInZoom = 1.0f;
    float verticalOutZoom = 1.0f;
    float displayPosition = 0.0f;  // ms
    float displayStep = 1000.0f / 44100.0f;  // ms per frame
    static constexpr std::int32_t kDisplaySlots = 64000;  // one per millisecond
    float displayIn[kDisplaySlots]{};
    float displayOut[kDisplaySlots]{};
    std::int32_t displayWritten = 0;   // slots at and above this are still zero since the last clear
    TFilter lowPassFilter;
    TFilter highPassFilter;
    TFilter combFilter;
    TDistortion distortion;
    bool filterSnap = false;       // the next filter update jumps to its target
    TLfo lfo;
    std::int32_t lfoTriggered = -1;    // "LFO Mode" is "Triggered"; -1 until the first frame
    // Gains, redone only when their value moves.
    float dryGainValue = -1.0f;
    float dryGain = 0.0f;
    float wetGainValue = -1.0f;
    float wetGain = 0.0f;
    // The display window as the audio thread last worked it out, with what it
    // depends on; worked out again only when one of these differs. Take
    // lengths, hold and tempo move only in the chain's own periodic work and
    // resets, which mark the window stale when they do; while the two takes
    // differ in length the heard voice decides, so it stays stale.
    struct DisplayWindow {
        float zoomValue = -1.0f;
        bool synced = false;
        bool stale = true;
        std::int32_t takeLengths[2] = {};
        std::int32_t holdSamples = 0;
        float tempo = 0.0f;
        float ms = 0.0f;
    } displayWindow;
    float vuFollowers[4]{};
    float vuPeak = 0.0f;

private:
    // A result of one parameter value, worked out again only when the value changes.
    struct Memo {
        float input = std::numeric_limits<float>::quiet_NaN();
        float output = 0.0f;
        template <class Curve>
        float operator()(float x, Curve curve) noexcept {
            if (x != input) {
                input = x;
                output = curve(x);
            }
            return output;
        }
    };
    Memo inZoomMemo;
    Memo outZoomMemo;
    Memo thresholdMemo;

    // Parameter readers, inline: the chain calls them many times per frame.
    // The slots are constant indices within the table: read whole, no bounds check.
    float value(std::int32_t index) const noexcept { return loadRelaxed(values[index]); }
    bool onOff(std::int32_t index) const noexcept { return ::getOnOff(value(index)); }
    std::int32_t stepped(std::int32_t index, StepShape steps) const noexcept {
        return ::getSteppedValue(value(index), steps.scale, steps.count);
    }
    std::int32_t triggerMode() const noexcept { return stepped(Param::ReverseTriggerMode, kTriggerModeSteps); }

    void applyPendingResetsNow() noexcept;
    void resetReverseNow(std::int32_t voice) noexcept;
    void resetEverythingNow() noexcept;
    void refreshCachedSwitches() noexcept;
    void triggerLogic(std::int32_t mode, float level) noexcept;
    void startTakeIfRequested(std::int32_t mode) noexcept;
    void resetTriggeredLfo() noexcept;
    void updateReverseDisplay(float inLevel, float outLevel, bool hostMode) noexcept;
    void updateVu() noexcept;
    void clearDisplay() noexcept;
    float displayLengthMS(float zoomFactor, bool synced) const noexcept;  // any
    // The same, cached for the audio thread: a frame compares two parameters.
    float currentDisplayLengthMS() noexcept {
        const DisplayWindow& w = displayWindow;
        if (w.stale || value(Param::ReverseZoom) != w.zoomValue || onOff(Param::ReverseTempoSync) != w.synced)
            refreshDisplayWindow();
        return w.ms;
    }
    void refreshDisplayWindow() noexcept;
    void noteDisplayWindowInputs() noexcept;  // after lengths, hold or tempo may have moved

    const float* values;
    Owner& owner;
    // Resets and a seed asked for by other threads, applied by the audio thread.
    std::atomic<std::uint32_t> pendingResets{0};
    std::atomic<std::uint32_t> pendingSeed{0};
};
