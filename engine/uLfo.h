// The effect's low-frequency oscillator: one bipolar value per sample, free
// running or tempo-synced, six wave shapes, a start phase, restartable.
#pragma once

#include <atomic>
#include <cmath>
#include <cstdint>

class TLfo {
public:
    void init(float rate) noexcept;  // control
    void reset() noexcept;  // audio
    void setOn(bool enabled) noexcept;  // audio
    void setTemoSynced(bool enabled) noexcept;  // audio
    void setWave(int32_t newWave, float offset) noexcept;  // audio
    // speed: normalised "LFO Speed"; tempo in BPM; syncedPeriod: the tempo
    // division chosen by the same speed, in two-bar units, used only while synced.
    void setSpeed(float speed, float tempo, float syncedPeriod) noexcept;  // audio
    // Advances the phase; the value follows from it on request.
    void update(float samples) noexcept;  // audio
    float getValue() const noexcept;  // audio
    float getPos() const noexcept;  // any
    // Starts the "S&H" generator's sequence afresh from seed.
    void setSeed(uint32_t seed) noexcept;  // control

    bool on = true;
    bool tempoSynced = false;
    int32_t wave = 0;  // sine, saw up, saw down, triangle, square, S&H; others are silent
    float sampleRate = 44100.0f;
    float increment = 0.0f;
    float phaseOffset = 0.0f;
    std::atomic<float> cyclePhase{0.0f};  // the editor's LFO screen polls it
    float phase = 0.0f;  // the same, as the audio thread keeps it at hand
    static_assert(std::atomic<float>::is_always_lock_free);
    float randomValue = 0.0f;

private:
    int32_t nextRandom15() noexcept;
    void updateIncrement() noexcept;

    // A 15-bit generator of our own: rand() takes a lock and returns 31 bits.
    // The effect seeds each instance differently; a fixed seed repeats a render.
    uint32_t randomState = 1;

    // Inputs of the last increment computation; it is redone only on change.
    float speedInput = 0.0f;
    float tempoInput = 120.0f;
    float periodInput = 0.0f;
    bool incrementStale = true;
};

inline int32_t TLfo::nextRandom15() noexcept {
    randomState = randomState * 1103515245u + 12345u;
    return int32_t((randomState >> 16) & 0x7FFFu);
}

// Inline: the chain runs it every frame.
inline void TLfo::update(float samples) noexcept {
    const float steps = (std::isfinite(samples) && samples > 0.0f) ? samples : 0.0f;
    phase += steps * increment;
    if (phase >= 1.0f) {
        phase = std::isfinite(phase) ? phase - std::floor(phase) : 0.0f;
        randomValue = float(nextRandom15()) * 2.0f / 32767.0f - 1.0f;
    }
    cyclePhase.store(phase, std::memory_order_relaxed);
}

// Inline, and only when asked for: the chain needs it only while the LFO
// modulates something.
inline float TLfo::getValue() const noexcept {
    if (!on) return 0.0f;
    const float shifted = phase + phaseOffset;
    const float frac = shifted - std::floor(shifted);
    switch (wave) {
        case 0: return std::sin(frac * 6.28318f);
        case 1: return 2.0f * frac - 1.0f;
        case 2: return 1.0f - 2.0f * frac;
        case 3: return 1.0f - 2.0f * std::fabs(1.0f - 2.0f * frac);
        case 4: return frac < 0.5f ? -1.0f : 1.0f;
        case 5: return randomValue;
        default: return 0.0f;
    }
}
