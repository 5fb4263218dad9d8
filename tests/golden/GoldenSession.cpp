#include "tests/golden/GoldenSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <cstdlib>
#include <stdexcept>

#include "plugin/VendorRequests.h"

namespace golden {
namespace {

// The effect reads its preferences when it is built; golden renders must
// neither depend on nor touch the real ones, so the whole suite runs with a
// private, empty configuration folder.
class PrivateConfigHome : public ::testing::Environment {
public:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tidewalker-golden-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

private:
    std::filesystem::path folder;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

constexpr double kTwoPi = 6.283185307179586;
constexpr std::size_t kLeadIn = 2205;  // 50 ms of silence before the first kick

// A small fixed generator: std::rand and the distributions differ between
// library versions, this does not.
class Noise {
public:
    float next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>(static_cast<double>(state >> 40) / 8388608.0 - 1.0);
    }

private:
    std::uint64_t state = 0x5EED5EED5EED5EEDull;
};

void addKick(StereoSignal& s, std::size_t start) {
    double phase = 0.0;
    for (std::size_t n = 0; n < 11025 && start + n < s.frames(); ++n) {
        const double t = n / kSampleRate;
        const double frequency = 50.0 + 90.0 * std::exp(-t / 0.04);
        phase += kTwoPi * frequency / kSampleRate;
        const float v = static_cast<float>(0.6 * std::exp(-t / 0.15) * std::sin(phase));
        s.left[start + n] += v;
        s.right[start + n] += v;
    }
}

void addSnare(StereoSignal& s, std::size_t start, Noise& noise) {
    for (std::size_t n = 0; n < 8820 && start + n < s.frames(); ++n) {
        const double t = n / kSampleRate;
        const double body = 0.2 * std::sin(kTwoPi * 190.0 * t) * std::exp(-t / 0.05);
        const double rattle = 0.25 * noise.next() * std::exp(-t / 0.07);
        const float v = static_cast<float>(body + rattle);
        s.left[start + n] += 0.9f * v;
        s.right[start + n] += 0.7f * v;
    }
}

void addHat(StereoSignal& s, std::size_t start, Noise& noise) {
    float previous = 0.0f;
    for (std::size_t n = 0; n < 1764 && start + n < s.frames(); ++n) {
        const float white = noise.next();
        const float bright = white - previous;  // first difference: mostly highs
        previous = white;
        const float v = static_cast<float>(0.1 * bright * std::exp(-(n / kSampleRate) / 0.018));
        s.left[start + n] += 0.5f * v;
        s.right[start + n] += v;
    }
}

void addTone(StereoSignal& s, std::size_t start, std::size_t length) {
    double phase = 0.0;
    for (std::size_t n = 0; n < length && start + n < s.frames(); ++n) {
        const double t = n / kSampleRate;
        const double frequency = 220.0 * (1.0 + 0.01 * std::sin(kTwoPi * 5.0 * t));
        phase += kTwoPi * frequency / kSampleRate;
        const double fade = std::min({1.0, t / 0.02, (length - n) / (0.05 * kSampleRate)});
        const double v = 0.12 * fade * (std::sin(phase) + 0.4 * std::sin(2 * phase) + 0.2 * std::sin(3 * phase));
        s.left[start + n] += static_cast<float>(v);
        s.right[start + n] += static_cast<float>(0.6 * v);
    }
}

}  // namespace

StereoSignal makeStimulus(std::size_t frames) {
    StereoSignal s{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
    Noise noise;
    for (std::size_t beat = 0; kLeadIn + beat * kFramesPerBeat < frames; ++beat) {
        const std::size_t at = kLeadIn + beat * kFramesPerBeat;
        addKick(s, at);
        if (beat % 2 == 1) addSnare(s, at, noise);
        addHat(s, at + kFramesPerBeat / 2, noise);
    }
    addTone(s, kLeadIn + kFramesPerBeat, 7 * kFramesPerBeat);
    return s;
}


RenderSession::RenderSession(HostSetup setup) : host(setup) {
    plugin.reset(dynamic_cast<APlugin*>(createEffectInstance(&RenderSession::hostCallback)));
    if (!plugin) throw std::runtime_error("the effect factory did not make an APlugin");
    record = plugin->getAeffect();
    record->user = this;
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    record->dispatcher(record, effSetBlockSize, 0, 256, nullptr, 0.0f);
    // The seed the references were made with, as the renderer fixes it too.
    if (record->dispatcher(record, effVendorSpecific, kRandomSeedRequest, 1, nullptr, 0.0f) != 1)
        throw std::runtime_error("the effect declined the fixed seed");
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
}

void RenderSession::set(VstInt32 index, float value) {
    record->setParameter(record, index, value);
}

void RenderSession::at(std::size_t frame, VstInt32 index, float value) {
    changes.push_back({frame, index, value});
    std::stable_sort(changes.begin(), changes.end(),
                     [](const ParameterChange& a, const ParameterChange& b) { return a.frame < b.frame; });
}

StereoSignal RenderSession::render(const StereoSignal& input, std::size_t blockFrames) {
    const std::size_t total = input.frames();
    StereoSignal output{std::vector<float>(total), std::vector<float>(total)};
    // The effect may process in place, so it gets its own copy of each block.
    std::vector<float> inLeft(blockFrames), inRight(blockFrames);
    auto next = changes.begin();
    for (std::size_t start = 0; start < total;) {
        while (next != changes.end() && next->frame <= start) {
            set(next->index, next->value);
            ++next;
        }
        std::size_t frames = std::min(blockFrames, total - start);
        if (next != changes.end()) frames = std::min(frames, next->frame - start);
        std::copy_n(input.left.begin() + start, frames, inLeft.begin());
        std::copy_n(input.right.begin() + start, frames, inRight.begin());
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {output.left.data() + start, output.right.data() + start};
        position = start;
        record->processReplacing(record, inputs, outputs, static_cast<VstInt32>(frames));
        start += frames;
    }
    return output;
}

VstIntPtr RenderSession::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode != audioMasterGetTime || !effect || !effect->user) return 0;
    auto& self = *static_cast<RenderSession*>(effect->user);
    VstTimeInfo& info = self.timeInfo;
    info = VstTimeInfo{};
    info.sampleRate = kSampleRate;
    info.samplePos = static_cast<double>(self.position);
    info.tempo = self.host.tempo;
    info.timeSigNumerator = info.timeSigDenominator = 4;
    info.flags = kVstTempoValid | kVstTimeSigValid;
    if (self.host.transport && self.position >= self.host.transportStartFrame) {
        const double played = static_cast<double>(self.position - self.host.transportStartFrame);
        info.ppqPos = played / kSampleRate * self.host.tempo / 60.0;
        info.flags |= kVstTransportPlaying | kVstPpqPosValid;
    }
    return reinterpret_cast<VstIntPtr>(&info);
}

}  // namespace golden
