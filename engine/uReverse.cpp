#include "engine/uReverse.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

#include "engine/ParameterLayout.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// A rate below 1000 Hz, or none at all, counts as 1000 Hz.
float sanitizedRate(float rate) noexcept {
    return (std::isfinite(rate) && rate >= 1000.0f) ? rate : 1000.0f;
}

// Length in samples, clamped before the conversion so that no rate, tempo or
// setting can produce an out-of-range integer (NaN counts as the minimum).
int32_t clampedLength(float samples) noexcept {
    if (!(samples >= float(TReverse::MIN_LENGTH))) return TReverse::MIN_LENGTH;
    if (samples >= float(TReverse::BUFFER_SIZE)) return TReverse::MAX_LENGTH;
    return int32_t(samples);
}

constexpr size_t blockBytes = 2 * size_t(TReverse::BUFFER_SIZE) * sizeof(float);

}  // namespace

TReverse::TReverse() {
    // One block for both channels, mapped straight from the kernel: its pages
    // read as zero and cost nothing until written. calloc would not do here:
    // once a freed voice has raised malloc's mmap threshold, the next voice's
    // block comes from the heap and calloc clears all 16 MiB by hand.
    void* block = mmap(nullptr, blockBytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    bufferLeft = static_cast<float*>(block);
    bufferRight = bufferLeft + BUFFER_SIZE;
}

TReverse::~TReverse() {
    munmap(bufferLeft, blockBytes);
}

void TReverse::eraseWritten() noexcept {
    const size_t bytes = size_t(writtenExtent) * sizeof(float);
    std::memset(bufferLeft, 0, bytes);
    std::memset(bufferRight, 0, bytes);
    writtenExtent = 0;
}

void TReverse::init(float rate) noexcept {
    const float fs = sanitizedRate(rate);
    sampleRate.store(fs, relaxed);
    samplesPerBar = fs * 240.0f / 120.0f;
    eraseWritten();
    attackMult = 1.0f;
    decayMult = 1.0f;
    length.store(MIN_LENGTH, relaxed);
    used.store(false, relaxed);
    tempoSynced = false;
    started.store(false, relaxed);
    finished.store(false, relaxed);
    phase.store(0, relaxed);
    position.store(0, relaxed);
    lengthStale = true;
    envelopeStale = true;
}

void TReverse::clear() noexcept {
    used.store(false, relaxed);
    started.store(false, relaxed);
    finished.store(false, relaxed);
    phase.store(0, relaxed);
    position.store(0, relaxed);
}

void TReverse::zero() noexcept {
    eraseWritten();
    clear();
}

void TReverse::setUsed(bool value) noexcept {
    used.store(value, relaxed);
}

void TReverse::setTempoSynced(bool value) noexcept {
    if (value != tempoSynced) lengthStale = true;
    tempoSynced = value;
}

void TReverse::setTempo(float bpm) noexcept {
    // Callers pass at least 1 BPM; hold to that so the bar length stays finite.
    const float tempo = bpm >= 1.0f ? bpm : 1.0f;
    const float bar = sampleRate.load(relaxed) * 240.0f / tempo;
    if (bar != samplesPerBar) lengthStale = true;
    samplesPerBar = bar;
}

void TReverse::setLength(float x, float syncedBars) noexcept {
    if (!lengthStale && x == lengthX && syncedBars == lengthBars) return;
    lengthX = x;
    lengthBars = syncedBars;
    lengthStale = false;
    updateLength();
}

int32_t TReverse::lengthFor(float x, float syncedBars, bool synced, float rate, float barSamples) noexcept {
    float samples;
    if (synced) {
        samples = syncedBars * barSamples + 1.0f;
    } else {
        const float ms = float(std::pow(2.0, double(reverseTimeLog(x))));
        samples = ms / 1000.0f * rate;
    }
    return clampedLength(samples);
}

void TReverse::commit(int32_t samples) noexcept {
    const int32_t wanted = std::clamp(samples, int32_t{0}, BUFFER_SIZE);
    int32_t done = committed.load(relaxed);
    if (wanted <= done) return;
    // Populating for writing makes the pages resident and writable without
    // touching their contents, so the audio thread may use the voice meanwhile.
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    const size_t bytes = (size_t(wanted) * sizeof(float) + page - 1) / page * page;
    for (float* channel : {bufferLeft, bufferRight})
        if (madvise(channel, bytes, MADV_POPULATE_WRITE) != 0) return;
    while (done < wanted && !committed.compare_exchange_weak(done, wanted, relaxed)) {}
}

void TReverse::updateLength() noexcept {
    const int32_t newLength =
        lengthFor(lengthX, lengthBars, tempoSynced, sampleRate.load(relaxed), samplesPerBar);
    if (newLength != length.load(relaxed)) envelopeStale = true;
    length.store(newLength, relaxed);
}

float TReverse::getEnvelopeMult(float x) const noexcept {
    const float value = std::isnan(x) ? 0.0f : std::min(std::max(x, 0.0f), 1.0f);
    float ramp = (std::exp2(10.0f * value) - 1.0f) / 1000.0f * sampleRate.load(relaxed);
    ramp = std::min(0.9f * float(length.load(relaxed)), ramp);
    return ramp < 1.0f ? 1.0f : 1.0f / ramp;
}

void TReverse::setAttackDecay(float attack, float decay) noexcept {
    if (!envelopeStale && attack == attackX && decay == decayX) return;
    attackX = attack;
    decayX = decay;
    envelopeStale = false;
    updateEnvelope();
}

void TReverse::updateEnvelope() noexcept {
    attackMult = getEnvelopeMult(attackX);
    decayMult = getEnvelopeMult(decayX);
}


float TReverse::getLength() const noexcept {
    return float(length.load(relaxed)) * 1000.0f / sampleRate.load(relaxed);
}

float TReverse::getPosition() const noexcept {
    const int64_t len = length.load(relaxed);
    const int64_t remaining =
        (started.load(relaxed) && used.load(relaxed)) ? len - position.load(relaxed) : len;
    return float(remaining) * 1000.0f / sampleRate.load(relaxed);
}

bool TReverse::getRecording() const noexcept {
    return phase.load(relaxed) == 0;
}

bool TReverse::getFinished() const noexcept {
    return finished.load(relaxed);
}
