// What the fake effect saw of its host, read by the host tests.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "effect/VstAbi.h"

struct FakeBlock {
    int frames = 0;
    std::optional<VstTimeInfo> time;
    std::vector<VstMidiEvent> events;  // delivered just before this block
    bool triggered = false;  // slot 1 was pressed for this block
    std::pair<float, float> firstInput;  // left and right
};

struct FakeLog {
    std::vector<std::pair<VstInt32, VstIntPtr>> lifecycle;  // opcode and value, in order
    float sampleRate = 0.0f;
    // What the host told the effect while it was being built, "|" between answers.
    std::string hostAnswers;
    std::vector<FakeBlock> blocks;
    std::vector<VstMidiEvent> pendingEvents;
};

using FakeLogProc = FakeLog* (*)();
