// MIDI from another thread while the render thread plays: nothing locks,
// nothing is lost below the queue's size, and every message lands on its frame.
#include <atomic>
#include <thread>

#include "au/MidiQueue.h"
#include "platform/Preferences.h"
#include "tests/au/AuTestSupport.h"

namespace {

using tidewalker::au::MidiMessage;
using tidewalker::au::MidiQueue;

TEST(AuMidi, TheQueueHandsOverInOrderAcrossThreads) {
    auto queue = std::make_unique<MidiQueue>();
    constexpr std::uint32_t kMessages = 200000;
    std::atomic<std::uint32_t> dropped{0};
    std::thread sender([&] {
        for (std::uint32_t i = 0; i < kMessages; ++i)
            if (!queue->push({0xB0, 7, static_cast<std::uint8_t>(i & 0x7F), i})) dropped.fetch_add(1);
    });
    std::uint32_t received = 0, last = 0;
    bool ordered = true;
    while (received + dropped.load() < kMessages) {
        queue->drain([&](const MidiMessage& m) {
            ordered = ordered && (received == 0 || m.offset > last);
            last = m.offset;
            ++received;
        });
    }
    sender.join();
    queue->drain([&](const MidiMessage&) { ++received; });
    EXPECT_TRUE(ordered);
    EXPECT_EQ(received + dropped.load(), kMessages);

    auto full = std::make_unique<MidiQueue>();
    for (std::uint32_t i = 0; i < MidiQueue::kCapacity; ++i) ASSERT_TRUE(full->push({}));
    EXPECT_FALSE(full->push({}));  // the 1025th waits for no one: it is dropped
}

TEST_F(AuTest, ControllersFromAnotherThreadArriveAtTheirFrames) {
    // Controller 7 drives "Wet Volume" in every instance of this home.
    ASSERT_TRUE(saveIntToPrefs("7", Param::WetVolume));
    auto host = openUnit();
    ASSERT_EQ(host->initialize(), noErr);
    ReferenceEffect reference(44100.0f, 1156);
    std::vector<float> input = burst(512, 44100.0, 250.0), left(512), right(512), refL(512), refR(512);

    // One message at frame 100: the same block through the VST interface.
    ASSERT_EQ(host->midi(0xB0, 7, 20, 100), noErr);
    const float* in[2] = {input.data(), input.data()};
    float* out[2] = {left.data(), right.data()};
    ASSERT_EQ(host->render(in, out, 512), noErr);
    const char data[4] = {static_cast<char>(0xB0), 7, 20, 0};
    VstMidiEvent event{kVstMidiType, sizeof(VstMidiEvent), 100, 0, 0, 0, {data[0], data[1], data[2], 0}, 0, 0, 0, 0};
    VstEvents events{1, 0, {reinterpret_cast<VstEvent*>(&event), nullptr}};
    reference.record->dispatcher(reference.record, effProcessEvents, 0, 0, &events, 0.0f);
    float* refIn[2] = {input.data(), input.data()};
    float* refOut[2] = {refL.data(), refR.data()};
    reference.process(refIn, refOut, 512);
    EXPECT_EQ(left, refL);
    EXPECT_EQ(right, refR);

    // Many messages from another thread while blocks render, in batches well
    // below the queue's size: none is lost, so the last one sent wins.
    std::atomic<bool> done{false};
    std::atomic<int> blocks{0};
    std::thread sender([&] {
        for (int batch = 0; batch < 30; ++batch) {
            const int seen = blocks.load();
            for (int i = 0; i < 100; ++i) host->midi(0xB0, 7, static_cast<UInt8>(i), static_cast<UInt32>(i * 6));
            while (blocks.load() == seen) std::this_thread::yield();
        }
        done = true;
    });
    while (!done) {
        ASSERT_EQ(host->render(in, out, 512), noErr);
        blocks.fetch_add(1);
    }
    sender.join();
    // A message lands by its frame, not by when it was sent: the closing one
    // gets a block of its own, after whatever the last batch left queued.
    ASSERT_EQ(host->render(in, out, 512), noErr);
    ASSERT_EQ(host->midi(0xB0, 7, 111, 0), noErr);
    ASSERT_EQ(host->render(in, out, 512), noErr);
    adapterOf(*host).PublishParameterChanges();
    EXPECT_EQ(host->parameter(Param::WetVolume), 111.0f / 128.0f);
}

}  // namespace
