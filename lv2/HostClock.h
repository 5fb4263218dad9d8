// The host's transport and tempo as the effect asks for them. LV2 hosts send
// a time position only when something changes (start, stop, tempo, a jump),
// so between messages the clock runs on by itself at the last speed and tempo.
#pragma once

#include <cstdint>
#include <optional>

#include "effect/VstAbi.h"

// What one time position message says. A field the message leaves out stays
// empty; so does one whose value is no number a clock can run on.
struct TimePosition {
    std::optional<double> frame{};
    std::optional<double> speed{};           // 0 stopped, 1 playing at normal speed
    std::optional<double> bar{};
    std::optional<double> barBeat{};         // beats into the bar
    std::optional<double> beat{};            // beats since the start
    std::optional<double> beatUnit{};        // the note value of a beat: 4 for quarters
    std::optional<double> beatsPerBar{};
    std::optional<double> beatsPerMinute{};
};

class HostClock {
public:
    explicit HostClock(double sampleRate) noexcept;  // control

    // Takes what a message says; nonsense (0, negative or non-finite tempos,
    // meters or units) is ignored field by field, the rest still applies.
    void apply(const TimePosition& position) noexcept;  // audio
    // Runs the clock on over frames that were played.
    void advance(std::uint32_t frames) noexcept;  // audio
    // The clock now, as the effect's time query answers it. Tempo, beat
    // position and meter are marked valid only once the host has given them;
    // "changed" is set on the first answer after the transport started or stopped.
    const VstTimeInfo& timeInfo() noexcept;  // audio

private:
    double sampleRate;
    double frame = 0.0;
    double speed = 0.0;
    double beatsPerMinute = 120.0;
    double beatsPerBar = 4.0;
    double beatUnit = 4.0;
    double beats = 0.0;  // since the start, in the host's beat unit
    bool tempoKnown = false;
    bool beatsKnown = false;
    bool meterKnown = false;
    bool playingAnswered = false;
    VstTimeInfo info{};
};
