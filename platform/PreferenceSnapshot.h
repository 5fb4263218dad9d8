#pragma once

// The preferences the audio thread needs, held in relaxed atomics so that the
// audio thread never touches the preference file.
//
// Freshness: a snapshot reads the store when it is made and on refresh();
// whenever this process writes a preference through saveStringToPrefs every
// live snapshot takes the new value at once; changes made by other processes
// arrive with the next refresh(), which refreshIfDue() runs at most every
// kRefreshSeconds (call it from the editor's idle or any periodic control
// call).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>

class PreferenceSnapshot {
public:
    static constexpr std::chrono::seconds kRefreshSeconds{2};

    PreferenceSnapshot();   // control
    ~PreferenceSnapshot();  // control
    PreferenceSnapshot(const PreferenceSnapshot&) = delete;
    PreferenceSnapshot& operator=(const PreferenceSnapshot&) = delete;

    // "MuteReverse", on by default.
    bool muteReverse() const noexcept { return muteReverse_.load(std::memory_order_relaxed); }  // audio
    // "MidiPreset" and "MidiBank", on by default: MIDI program changes and
    // bank selects choose factory presets.
    bool midiPreset() const noexcept { return midiPreset_.load(std::memory_order_relaxed); }  // audio
    bool midiBank() const noexcept { return midiBank_.load(std::memory_order_relaxed); }  // audio

    // Re-reads every value from the store.
    void refresh();  // control
    // refresh() when the last one is at least kRefreshSeconds old.
    void refreshIfDue();  // control

    // Tells every live snapshot that key now holds text (called by the
    // preference writer, so our own writes are seen without a file read).
    static void noteWritten(const char* key, const char* text);  // control

private:
    struct FlagRow;
    static std::span<const FlagRow> flagRows();
    void apply(const char* key, const char* text);

    std::atomic<bool> muteReverse_{true};
    std::atomic<bool> midiPreset_{true};
    std::atomic<bool> midiBank_{true};
    // Written by refresh() under the registry lock, read by refreshIfDue()
    // without it, so it is atomic (ticks of the steady clock).
    std::atomic<std::chrono::steady_clock::rep> lastRefresh_{};
};
