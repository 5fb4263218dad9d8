// The MIDI messages a host sends between two render calls. One thread
// appends (the host's MIDI thread, often the render thread itself), the
// render thread takes; neither waits nor locks, and a full queue drops.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace tidewalker::au {

struct MidiMessage {
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint32_t offset = 0;  // sample offset in the next block
};

class MidiQueue {
public:
    static constexpr std::uint32_t kCapacity = 1024;

    // any, one thread at a time; false when full (the message is dropped).
    bool push(const MidiMessage& message) noexcept {
        const std::uint32_t tail = written.load(std::memory_order_relaxed);
        if (tail - taken.load(std::memory_order_acquire) >= kCapacity) return false;
        slots[tail % kCapacity] = message;
        written.store(tail + 1, std::memory_order_release);
        return true;
    }

    // audio: hands every queued message to take, oldest first.
    template <typename Take>
    void drain(Take&& take) noexcept {
        const std::uint32_t head = taken.load(std::memory_order_relaxed);
        const std::uint32_t tail = written.load(std::memory_order_acquire);
        for (std::uint32_t i = head; i != tail; ++i) take(slots[i % kCapacity]);
        taken.store(tail, std::memory_order_release);
    }

private:
    std::array<MidiMessage, kCapacity> slots{};
    std::atomic<std::uint32_t> written{0};
    std::atomic<std::uint32_t> taken{0};
};

}  // namespace tidewalker::au
