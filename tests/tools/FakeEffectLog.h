// What the fake effect saw of its host, read by the host tests.
#pragma once

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "effect/VstAbi.h"

using FakeMidi = std::tuple<int, int, int, int>;  // frame in block, status, controller, value

struct FakeBlock {
    int frames = 0;
    std::optional<VstTimeInfo> time;
    std::vector<FakeMidi> events;  // delivered just before this block
    bool triggered = false;  // slot 1 was pressed for this block
    std::pair<float, float> firstInput;  // left and right
};

struct FakeLog {
    std::vector<std::pair<VstInt32, VstIntPtr>> lifecycle;  // opcode and value, in order
    float sampleRate = 0.0f;
    // What the host told the effect while it was being built, "|" between answers.
    std::string hostAnswers;
    std::vector<FakeBlock> blocks;
    std::vector<FakeMidi> pendingEvents;
};

using FakeLogProc = FakeLog* (*)();
