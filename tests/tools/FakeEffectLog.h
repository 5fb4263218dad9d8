// What the fake effect saw of its host, read by the host tests.
#pragma once

#include <string>
#include <vector>

#include "effect/VstAbi.h"

struct FakeBlock {
    int frames = 0;
    bool hadTime = false;
    VstTimeInfo time{};
    std::vector<VstMidiEvent> events;  // delivered just before this block
    bool triggered = false;  // slot 1 was pressed for this block
    float firstInputLeft = 0.0f;
    float firstInputRight = 0.0f;
};

struct FakeLog {
    std::vector<std::pair<VstInt32, VstIntPtr>> lifecycle;  // opcode and value, in order
    float sampleRate = 0.0f;
    VstIntPtr blockSize = 0;
    VstIntPtr hostVersion = 0;
    std::string hostVendor;
    std::string hostProduct;
    VstIntPtr canDoTimeInfo = -1;
    VstIntPtr canDoUnknown = -1;
    VstIntPtr reportedSampleRate = 0;
    std::vector<FakeBlock> blocks;
    std::vector<VstMidiEvent> pendingEvents;
};

using FakeLogProc = FakeLog* (*)();
