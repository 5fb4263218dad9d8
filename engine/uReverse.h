// One reverse voice: records a stereo take of a set length, then plays it back
// once, backwards, under an attack and a decay ramp, and falls silent.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>

class TReverse {
public:
    static constexpr int32_t BUFFER_SIZE = 2097152;  // samples per channel (2^21)
    static constexpr int32_t MIN_LENGTH = 100;
    static constexpr int32_t MAX_LENGTH = BUFFER_SIZE - 1;

    // Reserves both channels zeroed without touching their pages, so an unused
    // voice costs neither memory nor time. Throws std::bad_alloc if it cannot.
    TReverse();  // control
    ~TReverse();  // control
    TReverse(const TReverse&) = delete;
    TReverse& operator=(const TReverse&) = delete;

    // The length in samples of a take: x is the normalised "Reverse Length",
    // syncedBars its tempo division, used when synced at samplesPerBar.
    static int32_t lengthFor(float x, float syncedBars, bool synced, float rate, float samplesPerBar) noexcept;  // any
    // Makes the first samples of both channels resident before a take needs
    // them, so recording into them costs the audio thread no page fault. Only
    // ever grows; the samples keep their values.
    void commit(int32_t samples) noexcept;  // control
    // The same for a take at the voice's length as it stands now, and
    // headroom (0 to BUFFER_SIZE) samples more: the audio thread may raise the
    // length (a tempo change, a MIDI controller) under a take it records,
    // which runs on at once.
    void commitLength(int32_t headroom) noexcept {  // control
        commit(length.load(std::memory_order_relaxed) + headroom);
    }
    int32_t getCommitted() const noexcept {  // any
        return committed.load(std::memory_order_relaxed);
    }
    void init(float rate) noexcept;  // control
    void clear() noexcept;  // audio
    void zero() noexcept;  // audio
    void setUsed(bool value) noexcept;  // audio
    void setTempoSynced(bool value) noexcept;  // audio
    void setTempo(float bpm) noexcept;  // audio
    // x: normalised "Reverse Length"; syncedBars: the tempo division chosen by
    // the same value, used only while tempoSynced.
    void setLength(float x, float syncedBars) noexcept;  // audio
    void setAttackDecay(float attack, float decay) noexcept;  // audio
    float getEnvelopeMult(float x) const noexcept;  // any
    void process(float inL, float inR, float& outL, float& outR, int32_t offset) noexcept;  // audio

    float getLength() const noexcept;  // any
    float getPosition() const noexcept;  // any
    bool getPlaying() const noexcept {  // any
        return getOn() && started.load(std::memory_order_relaxed);
    }
    bool getOn() const noexcept {  // any
        return used.load(std::memory_order_relaxed) && !finished.load(std::memory_order_relaxed);
    }
    bool getRecording() const noexcept;  // any
    bool getFinished() const noexcept;  // any

    // The editor reads the voice through the getters while the audio thread
    // runs it, so everything they touch is atomic (always used relaxed).
    static_assert(std::atomic<int32_t>::is_always_lock_free && std::atomic<float>::is_always_lock_free);
    std::atomic<bool> used{false};
    bool tempoSynced = false;
    std::atomic<bool> started{false};
    std::atomic<bool> finished{false};
    std::atomic<int32_t> phase{0};  // 0 recording, 1 playback, 2 done
    std::atomic<int32_t> position{0};
    std::atomic<int32_t> length{MIN_LENGTH};
    std::atomic<float> sampleRate{44100.0f};
    float samplesPerBar = 88200.0f;
    float attackMult = 1.0f;
    float decayMult = 1.0f;
    float* bufferLeft = nullptr;  // BUFFER_SIZE samples each
    float* bufferRight = nullptr;

private:
    void eraseWritten() noexcept;
    void updateLength() noexcept;
    void updateEnvelope() noexcept;

    std::atomic<int32_t> committed{0};  // samples per channel made resident

    // Samples at or above this index have not been written since the last
    // erase and still read as zero; erasing clears only below it.
    int32_t writtenExtent = 0;

    // Inputs of the last length and envelope computation: they are redone only
    // when one of these changes.
    float lengthX = 0.0f;
    float lengthBars = 0.0f;
    bool lengthStale = true;
    float attackX = 0.0f;
    float decayX = 0.0f;
    bool envelopeStale = true;
};

// Inline: the chain runs both voices every frame.
inline void TReverse::process(float inL, float inR, float& outL, float& outR, int32_t offset) noexcept {
    outL = 0.0f;
    outR = 0.0f;
    if (!used.load(std::memory_order_relaxed) || finished.load(std::memory_order_relaxed)) return;

    const int32_t len = length.load(std::memory_order_relaxed);
    int32_t pos = position.load(std::memory_order_relaxed);
    int32_t ph = phase.load(std::memory_order_relaxed);

    if (ph == 1) {
        // Wide arithmetic: a stuck position or a large offset must not wrap
        // round into the buffer.
        const int64_t index = int64_t(len) - 2 - int64_t(offset) - int64_t(pos);
        if (index >= 0 && index < BUFFER_SIZE) {
            const float a = std::clamp((float(pos) + 1.0f) * attackMult, 0.0f, 1.0f);
            const float d = std::clamp(float(int64_t(len) - 1 - pos) * decayMult, 0.0f, 1.0f);
            const float gain = a * a * d;
            outL = bufferLeft[index] * gain;
            outR = bufferRight[index] * gain;
        }
    } else if (ph == 0) {
        pos = std::clamp(pos, 0, BUFFER_SIZE - 1);
        bufferLeft[pos] = inL;
        bufferRight[pos] = inR;
        writtenExtent = std::max(writtenExtent, pos + 1);
    }

    // A voice whose length was lowered below its position waits here until it
    // is cleared; its position saturates rather than wrapping negative.
    if (pos < std::numeric_limits<int32_t>::max()) ++pos;
    if (pos == len - 1) {
        pos = 0;
        started.store(true, std::memory_order_relaxed);
        ++ph;
        phase.store(ph, std::memory_order_relaxed);
        if (ph == 2) finished.store(true, std::memory_order_relaxed);
    }
    position.store(pos, std::memory_order_relaxed);
}
