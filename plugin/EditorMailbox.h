// What the effect leaves for its editor. Parameter changes, meter levels and
// resume requests come from any thread, the audio thread among them, which
// must never call into the editor; so they are left here, lock-free, and the
// editor's idle takes them on the GUI thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "plugin/ParameterTable.h"

class EditorMailbox {
public:
    static constexpr int kVuCount = 4;  // input L/R, output L/R
    static_assert(kNumEditorSlots <= 64, "one bit per editor slot");

    // any: slot index changed; slots the editor does not show are ignored.
    void markChanged(VstInt32 index) noexcept {
        if (index >= 0 && index < kNumEditorSlots)
            changedSlots.fetch_or(std::uint64_t{1} << index, std::memory_order_relaxed);
    }
    // control: bit i set means slot i changed since the last take.
    std::uint64_t takeChanged() noexcept { return changedSlots.exchange(0, std::memory_order_relaxed); }

    // any: every control must be read again (a revert or a new program).
    void requestResume() noexcept { resumeRequested.store(true, std::memory_order_relaxed); }
    // control: true once per request.
    bool takeResumeRequest() noexcept { return resumeRequested.exchange(false, std::memory_order_relaxed); }

    // audio: the meter levels to show.
    void handOverVu(const float (&levels)[kVuCount]) noexcept {
        for (int i = 0; i < kVuCount; ++i) vu[i].store(levels[i], std::memory_order_relaxed);
        vuReady.store(true, std::memory_order_release);
    }
    // control: the levels handed over last; false, leaving levels alone, when
    // nothing new arrived since the last take.
    bool takeVuLevels(float (&levels)[kVuCount]) noexcept {
        if (!vuReady.exchange(false, std::memory_order_acquire)) return false;
        for (int i = 0; i < kVuCount; ++i) levels[i] = vu[i].load(std::memory_order_relaxed);
        return true;
    }

    // any: forgets everything left (a window opening reads everything anew).
    void clear() noexcept {
        changedSlots.store(0, std::memory_order_relaxed);
        resumeRequested.store(false, std::memory_order_relaxed);
        vuReady.store(false, std::memory_order_relaxed);
    }

private:
    std::atomic<std::uint64_t> changedSlots{0};
    std::atomic<bool> resumeRequested{false};
    std::atomic<bool> vuReady{false};
    std::atomic<float> vu[kVuCount]{};
};
