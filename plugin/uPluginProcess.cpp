// The effect's audio entry points: blocks from the host, sample rate, the
// host's time handed to the signal chain as plain values, and the
// processing members that forward to the chain.
#include "plugin/APlugin.h"

#include <algorithm>
#include <cmath>

namespace {

// Tempo valid, position in quarter notes valid, transport playing, transport changed.
constexpr VstInt32 kTimeInfoRequest = 1539;
constexpr float kMinSampleRate = 1000.0f;
constexpr float kMaxSampleRate = 768000.0f;

float finiteOrSilence(float sample) noexcept {
    return std::isfinite(sample) ? sample : 0.0f;
}

}  // namespace

void APlugin::suspend() {
    active.store(false, std::memory_order_relaxed);
}

void APlugin::resume() {
    refreshPreferences();
    active.store(true, std::memory_order_relaxed);
    commitTakeMemory(Param::ReverseLength, loadValue(Param::ReverseLength));
}

void APlugin::commitTakeMemory(VstInt32 index, float value) noexcept {
    if (!active.load(std::memory_order_relaxed) ||
        audioThread.load(std::memory_order_relaxed) == std::this_thread::get_id())
        return;
    const float length = index == Param::ReverseLength ? value : loadValue(Param::ReverseLength);
    const bool synced = ::getOnOff(index == Param::ReverseTempoSync ? value : loadValue(Param::ReverseTempoSync));
    chain.commitTakeMemory(length, synced);
}

void APlugin::refreshPreferences() {
    preferences.refreshIfDue();
}

void APlugin::setSampleRate(float rate) {
    if (!std::isfinite(rate)) return;
    const float r = std::clamp(rate, kMinSampleRate, kMaxSampleRate);
    if (std::fabs(lastSampleRate - r) < 0.01f) return;  // a repeated rate keeps the takes
    storeRelaxed(sampleRate, r);
    lastSampleRate = r;
    chain.setSampleRate(r);
    commitTakeMemory(Param::ReverseLength, loadValue(Param::ReverseLength));
}

void APlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    audioThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    timeInfo = getTimeInfo(kTimeInfoRequest);
    TSignalChain::HostTime time;
    if (timeInfo) {
        time.known = true;
        time.tempoValid = (timeInfo->flags & kVstTempoValid) != 0;
        time.tempo = timeInfo->tempo;
        time.playing = (timeInfo->flags & kVstTransportPlaying) != 0;
    }
    chain.setHostTime(time, preferences.muteReverse());
    if (sampleFrames <= 0) return;
    const float* inLeft = inputs ? inputs[0] : nullptr;
    const float* inRight = inputs ? inputs[1] : nullptr;
    float* outLeft = outputs ? outputs[0] : nullptr;
    float* outRight = outputs ? outputs[1] : nullptr;

    for (VstInt32 i = 0; i < sampleFrames; ++i) {
        // MIDI first: a program change asks for resets, and they belong to its frame.
        if (pendingMidiCount > 0) processMidi(i);
        chain.applyPendingResets();
        // A missing channel is silence; so is a sample that is not a number,
        // which would otherwise live on in the voices and filters.
        const float left = inLeft ? finiteOrSilence(inLeft[i]) : 0.0f;
        const float right = inRight ? finiteOrSilence(inRight[i]) : 0.0f;
        chain.inputLeft = chain.outputLeft = left;
        chain.inputRight = chain.outputRight = right;
        processSound();
        if (outLeft) outLeft[i] = chain.outputLeft;
        if (outRight) outRight[i] = chain.outputRight;
    }
}

void APlugin::__processDeprecated(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    processReplacing(inputs, outputs, sampleFrames);
}

void APlugin::processSound() noexcept {
    const std::uint32_t counter = chain.sampleCounter;
    if ((counter & 4095u) == 0 && programChanged.exchange(false, std::memory_order_relaxed) && editorShowing())
        editorResume();
    chain.processSound();
    if ((counter & 2047u) == 0) handVuToEditor();
}

void APlugin::setHost() noexcept {
    chain.setHost();
}

void APlugin::setOften() noexcept {
    chain.setOften();
}

void APlugin::resetReverse(VstInt32 voice) noexcept {
    chain.resetReverse(voice);
}

void APlugin::resetEverything() noexcept {
    chain.resetEverything();
}

void APlugin::setParameterFromEngine(VstInt32 index, float value) noexcept {
    setParameter(index, value);
}
