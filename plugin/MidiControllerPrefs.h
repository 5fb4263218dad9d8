// The MIDI controller map in the preferences: one integer per controller
// under the keys "0".."127", shared by every instance. The map itself lives
// in the effect; ControllerMapWriter carries its changes to the store, so
// that a controller learned on the audio thread is written by another one.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "effect/VstAbi.h"

inline constexpr VstInt32 kNumMidiControllers = 128;
// The largest parameter index a controller may be assigned (0 means none).
inline constexpr VstInt32 kMaxControllerParameter = 800;

// A parameter index per controller, controller 0 first.
using ControllerAssignments = std::array<VstInt32, kNumMidiControllers>;

// The preference key of controller cc ("0".."127"); "" outside that range.
const char* midiControllerKey(VstInt32 cc) noexcept;  // any

// The parameter index stored for controller cc; 0 when absent, not a number,
// outside 0..kMaxControllerParameter, or cc outside 0..127.
VstInt32 getMidiCC(VstInt32 cc);  // control

// Every controller's getMidiCC from one read of the store.
ControllerAssignments getAllMidiCCs();  // control

// Stores index for controller cc and writes the store out at once. False when
// nothing was stored (cc or index out of range, or the write failed).
bool setMidiCC(VstInt32 cc, VstInt32 index);  // control

class ControllerMapWriter {
public:
    // Period of the background writer; a learned controller is stored within it.
    static constexpr std::chrono::milliseconds kWritePeriod{200};

    explicit ControllerMapWriter(const VstInt32 (&map)[kNumMidiControllers]) noexcept;  // control
    // Stops the background writer, then stores whatever is still pending.
    ~ControllerMapWriter();  // control
    ControllerMapWriter(const ControllerMapWriter&) = delete;
    ControllerMapWriter& operator=(const ControllerMapWriter&) = delete;

    // Notes that the map's entry for cc changed; call after changing it.
    void markChanged(VstInt32 cc) noexcept;  // any
    void markAllChanged() noexcept;  // any

    // Stores every entry marked since the last store, as it stands now, in
    // one write. False when the write failed; the entries stay marked.
    bool flush();  // control

    // Starts the thread that flushes every kWritePeriod (once; later calls do
    // nothing). Started only when an audio-thread learn becomes possible.
    void startBackgroundWriter();  // control

private:
    void run();

    const VstInt32 (&map_)[kNumMidiControllers];
    std::atomic<std::uint64_t> changed_[2]{};
    std::mutex flushMutex_;  // control side only: one flush at a time
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};
