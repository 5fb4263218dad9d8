#include "lv2/HostClock.h"

#include <cmath>

namespace {

bool positiveNumber(const std::optional<double>& value) noexcept {
    return value && std::isfinite(*value) && *value > 0.0;
}

constexpr double kMaxBeatsPerBar = 1024.0;
constexpr double kMaxBeatUnit = 256.0;

bool inRange(const std::optional<double>& value, double most) noexcept {
    return positiveNumber(value) && *value <= most;
}

bool finiteNumber(const std::optional<double>& value) noexcept {
    return value && std::isfinite(*value);
}

}  // namespace

HostClock::HostClock(double rate) noexcept : sampleRate(std::isfinite(rate) && rate > 0.0 ? rate : 44100.0) {}

void HostClock::apply(const TimePosition& position) noexcept {
    if (finiteNumber(position.frame)) frame = *position.frame;
    if (finiteNumber(position.speed)) speed = *position.speed;
    if (positiveNumber(position.beatsPerMinute)) {
        beatsPerMinute = *position.beatsPerMinute;
        tempoKnown = true;
    }
    // Meters outside what any score writes are nonsense too; the effect keeps
    // both as 32-bit integers.
    const bool barOk = inRange(position.beatsPerBar, kMaxBeatsPerBar);
    const bool unitOk = inRange(position.beatUnit, kMaxBeatUnit) && *position.beatUnit >= 1.0;
    if (barOk) beatsPerBar = *position.beatsPerBar;
    if (unitOk) beatUnit = std::round(*position.beatUnit);
    if (barOk && unitOk) meterKnown = true;

    if (finiteNumber(position.beat)) {
        beats = *position.beat;
        beatsKnown = true;
    } else if (finiteNumber(position.bar) && finiteNumber(position.barBeat)) {
        beats = *position.bar * beatsPerBar + *position.barBeat;
        beatsKnown = true;
    }
}

void HostClock::advance(std::uint32_t frames) noexcept {
    if (speed == 0.0) return;
    const double played = frames * speed;
    frame += played;
    beats += played * beatsPerMinute / 60.0 / sampleRate;
}

const VstTimeInfo& HostClock::timeInfo() noexcept {
    const bool playing = speed != 0.0;
    const double quartersPerBeat = 4.0 / beatUnit;
    info = VstTimeInfo{};
    info.samplePos = frame;
    info.sampleRate = sampleRate;
    info.tempo = beatsPerMinute;
    info.ppqPos = beats * quartersPerBeat;
    info.barStartPos = std::floor(beats / beatsPerBar) * beatsPerBar * quartersPerBeat;
    info.timeSigNumerator = static_cast<VstInt32>(std::lround(beatsPerBar));
    info.timeSigDenominator = static_cast<VstInt32>(beatUnit);
    info.flags = (tempoKnown ? kVstTempoValid : 0) | (beatsKnown ? kVstPpqPosValid | kVstBarsValid : 0) |
                 (meterKnown ? kVstTimeSigValid : 0) | (playing ? kVstTransportPlaying : 0) |
                 (playing != playingAnswered ? kVstTransportChanged : 0);
    playingAnswered = playing;
    return info;
}
