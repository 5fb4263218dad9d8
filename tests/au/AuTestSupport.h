// Opening the unit as a host does, in a private home, with a reference
// effect driven straight through the VST interface to compare against.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "au/AUPLUGIN.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tools/auhost/AuHost.h"

using tidewalker::auhost::AuHost;
using tidewalker::auhost::Entry;

inline std::unique_ptr<AuHost> openUnit(Entry entry = Entry::ComponentManager) {
    std::string error;
    auto host = AuHost::open(entry, error);
    EXPECT_TRUE(host) << error;
    return host;
}

// The adapter behind a unit opened through the Component Manager entry.
inline AUPLUGIN& adapterOf(AuHost& host) {
    return *reinterpret_cast<AUPLUGIN*>(GetComponentInstanceStorage(host.unit()));
}

template <typename T>
OSStatus getProperty(AudioUnit unit, AudioUnitPropertyID id, T& value, AudioUnitScope scope = kAudioUnitScope_Global,
                     AudioUnitElement element = 0) {
    UInt32 size = sizeof(T);
    return AudioUnitGetProperty(unit, id, scope, element, &value, &size);
}

template <typename T>
OSStatus setProperty(AudioUnit unit, AudioUnitPropertyID id, const T& value,
                     AudioUnitScope scope = kAudioUnitScope_Global, AudioUnitElement element = 0) {
    return AudioUnitSetProperty(unit, id, scope, element, &value, sizeof(T));
}

inline std::string text(CFStringRef string) {
    char buffer[512] = {};
    CFStringGetCString(string, buffer, sizeof(buffer), kCFStringEncodingMacRoman);
    return buffer;
}

// The effect as a VST host drives it: the time information it reads is
// this fixture's, rewritten before each block.
struct ReferenceEffect {
    static inline VstTimeInfo time{};
    static VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
        if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&time);
        return opcode == audioMasterVersion ? 2400 : 0;
    }
    std::unique_ptr<APlugin> effect{static_cast<APlugin*>(createEffectInstance(host))};
    AEffect* record = effect->getAeffect();

    ReferenceEffect(float sampleRate, VstInt32 blockSize) {
        time = VstTimeInfo{};
        time.tempo = 120.0;
        time.flags = kVstTempoValid;
        record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
        record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, sampleRate);
        record->dispatcher(record, effSetBlockSize, 0, blockSize, nullptr, 0.0f);
        record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    }
    void process(float** in, float** out, VstInt32 frames) { record->processReplacing(record, in, out, frames); }
};

// Test input: a decaying tone burst every 0.25 s, different on each side.
inline std::vector<float> burst(std::size_t frames, double sampleRate, double hz) {
    std::vector<float> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i % static_cast<std::size_t>(sampleRate / 4)) / sampleRate;
        samples[i] = static_cast<float>(0.8 * std::exp(-t * 12.0) * std::sin(2.0 * 3.14159265358979 * hz * t));
    }
    return samples;
}

struct AuTest : ::testing::Test {
    IsolatedHome home;
};
