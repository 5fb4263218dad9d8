// The LV2 glue's translation: the host's time position into the effect's
// time answers, MIDI into controller changes at their frame, port values into
// parameters, and the saved state into the program; hostile event sequences
// get a defined answer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "lv2/HostClock.h"
#include "tests/lv2/Lv2TestSupport.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/RealtimeProbe.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr VstInt32 kTimeFlags = kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid;

TEST(HostClock, TranslatesAPositionAndRunsOnBetweenMessages) {
    HostClock clock(48000.0);
    clock.apply({.frame = 96000, .speed = 1, .bar = 2, .barBeat = 1.5, .beatUnit = 8, .beatsPerBar = 6,
                 .beatsPerMinute = 90});
    VstTimeInfo info = clock.timeInfo();
    EXPECT_EQ(info.samplePos, 96000.0);
    EXPECT_EQ(info.tempo, 90.0);
    EXPECT_EQ(info.ppqPos, 6.75);  // 13.5 eighths
    EXPECT_EQ(info.barStartPos, 6.0);
    EXPECT_EQ(info.timeSigNumerator, 6);
    EXPECT_EQ(info.timeSigDenominator, 8);
    EXPECT_EQ(info.flags, kTimeFlags | kVstTransportPlaying | kVstTransportChanged);
    EXPECT_EQ(clock.timeInfo().flags, kTimeFlags | kVstTransportPlaying) << "changed is said once";

    clock.advance(48000);  // one second at 90 BPM: one and a half beats
    info = clock.timeInfo();
    EXPECT_EQ(info.samplePos, 144000.0);
    EXPECT_EQ(info.ppqPos, 7.5);

    clock.apply({.speed = 0});
    EXPECT_EQ(clock.timeInfo().flags, kTimeFlags | kVstTransportChanged);
    clock.advance(48000);
    EXPECT_EQ(clock.timeInfo().samplePos, 144000.0) << "a stopped clock stands";
}

TEST(HostClock, IgnoresNonsenseFieldByField) {
    HostClock clock(44100.0);
    EXPECT_EQ(clock.timeInfo().flags, 0) << "nothing is valid before the host says it";
    EXPECT_EQ(clock.timeInfo().tempo, 120.0);

    for (const double bpm : {0.0, -1.0, kNaN, std::numeric_limits<double>::infinity()})
        clock.apply({.speed = 1, .beatsPerMinute = bpm});
    clock.apply({.beatUnit = 0, .beatsPerBar = 4});
    clock.apply({.beatUnit = 4, .beatsPerBar = 1e9});
    clock.apply({.frame = kNaN, .bar = kNaN, .barBeat = 1});
    const VstTimeInfo info = clock.timeInfo();
    EXPECT_EQ(info.flags, kVstTransportPlaying | kVstTransportChanged) << "only the speed was usable";
    EXPECT_EQ(info.tempo, 120.0);
    EXPECT_EQ(info.samplePos, 0.0);
    EXPECT_EQ(info.timeSigNumerator, 4);
}

struct GlueTest : ::testing::Test {
    IsolatedHome home;  // the effect's preferences, before the effect
    Instance host;

    void constantInput(float value) {
        for (auto& channel : host.in) std::fill(std::begin(channel), std::end(channel), value);
    }
    // The first frame of the left output at which the dry signal is gone.
    int firstSilentFrame() const {
        for (int i = 0; i < static_cast<int>(Instance::kFrames); ++i)
            if (host.out[0][i] == 0.0f) return i;
        return -1;
    }
};

TEST_F(GlueTest, TimePositionReachesTheEffectFromItsFrameOn) {
    host.events.position(32, 90.0, 1.0f, 1, 0.0f, 1000);
    host.run();
    const VstTimeInfo* info = host.glue.effect().getTimeInfo(0);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->tempo, 90.0);
    EXPECT_TRUE(info->flags & kVstTransportPlaying);
    EXPECT_EQ(info->samplePos, 1000.0 + 32.0) << "the block was split at the position's frame";
}

TEST_F(GlueTest, ControllersAreLearnedAndAppliedAtTheirFrame) {
    host.control(Param::Mute) = 1.0f;  // only the dry path sounds
    constantInput(0.5f);
    host.glue.effect().setMidiLatch(Param::DryVolume, true);
    host.events.midi(40, {0xB3, 7, 0});
    host.run();
    EXPECT_EQ(host.glue.effect().getControllerAssignment(7), Param::DryVolume);
    EXPECT_EQ(host.out[0][0], 0.5f);
    // The effect applies an event with delta d before frame d - 1.
    EXPECT_EQ(firstSilentFrame(), 39);
}

TEST_F(GlueTest, HostileEventsGetADefinedAnswer) {
    host.control(Param::Mute) = 1.0f;
    constantInput(0.5f);
    host.glue.effect().setMidiLatch(Param::DryVolume, true);
    host.events.midi(0, {0xB0, 7, 127});  // learns controller 7
    host.run();
    const float learned = host.glue.effect().getParameter(Param::DryVolume);

    Sequence& events = host.events;
    events.midi(1, {0xB0, 7});                  // truncated
    events.midi(2, {0x07, 0x00, 0x00});         // no status byte
    events.midi(3, {0xF0, 0x7E, 0x00, 0xF7});   // system exclusive
    events.midi(64, {0xB0, 7, 0});              // past the block
    events.midi(-5, {0x90, 60, 100});           // before it: a note, which changes nothing
    lv2_atom_forge_frame_time(&events.forge, 4);
    lv2_atom_forge_int(&events.forge, 7);       // a type the port does not carry
    events.position(5, 0.0, 1.0f);
    events.position(6, -3.0, 1.0f);
    events.position(7, kNaN, 1.0f);
    tidewalker::testing::RealtimeProbe probe;
    host.run();
    EXPECT_EQ(probe.counts().allocations, 0u);
    EXPECT_EQ(host.glue.effect().getParameter(Param::DryVolume), learned);
    EXPECT_EQ(host.glue.effect().getTimeInfo(0)->tempo, 120.0);

    // Out of order: the later-written earlier event counts from where processing stands.
    events.position(30, 100.0, 1.0f);
    events.midi(10, {0xB0, 7, 0});
    host.run();
    EXPECT_EQ(firstSilentFrame(), 30);

    // An event claiming more bytes than the sequence holds ends the walk there.
    events.midi(0, {0xB0, 7, 127});
    events.atoms()->atom.size -= 8;
    host.run();
    EXPECT_EQ(host.glue.effect().getParameter(Param::DryVolume), 0.0f);

    // Ports the host leaves unconnected.
    for (const std::uint32_t port : {ports::kEvents, ports::kInLeft, ports::kOutRight, ports::kFirstControl})
        host.glue.connect(port, nullptr);
    host.glue.connect(9999, nullptr);
    host.run();
    EXPECT_EQ(host.out[0][0], 0.0f);
}

// A host's state store: key -> (bytes, type).
struct StateStore {
    std::map<std::uint32_t, std::pair<std::string, std::uint32_t>> values;
    static LV2_State_Status store(LV2_State_Handle handle, std::uint32_t key, const void* value, std::size_t size,
                                  std::uint32_t type, std::uint32_t) {
        static_cast<StateStore*>(handle)->values[key] = {std::string(static_cast<const char*>(value), size), type};
        return LV2_STATE_SUCCESS;
    }
    static const void* retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size, std::uint32_t* type,
                                std::uint32_t* flags) {
        auto& values = static_cast<StateStore*>(handle)->values;
        const auto found = values.find(key);
        if (found == values.end()) return nullptr;
        *size = found->second.first.size();
        *type = found->second.second;
        *flags = 0;
        return found->second.first.data();
    }
};

ProgramRecord programOf(Lv2Effect& glue) {
    ProgramRecord record;
    glue.effect().getProgramRecord(0, record);
    return record;
}

TEST_F(GlueTest, StateCarriesTheProgramAndDeclinesWhatDoesNotFit) {
    host.glue.effect().setFactoryProgram(7);
    host.control(Param::Distort) = 0.3f;
    host.run();
    StateStore state;
    ASSERT_EQ(host.glue.save(StateStore::store, &state), LV2_STATE_SUCCESS);
    ASSERT_EQ(state.values.size(), 1u);
    const ProgramRecord saved = programOf(host.glue);
    EXPECT_EQ(saved.values[Param::Distort], 0.3f);

    Instance other;
    const ProgramRecord before = programOf(other.glue);
    auto& [bytes, type] = state.values.begin()->second;
    const std::string good = bytes;
    bytes.pop_back();
    EXPECT_EQ(other.glue.restore(StateStore::retrieve, &state), LV2_STATE_ERR_UNKNOWN);
    bytes = good + "x";
    EXPECT_EQ(other.glue.restore(StateStore::retrieve, &state), LV2_STATE_ERR_UNKNOWN);
    bytes = good;
    type = other.urids(LV2_ATOM__String);
    EXPECT_EQ(other.glue.restore(StateStore::retrieve, &state), LV2_STATE_ERR_BAD_TYPE);
    StateStore empty;
    EXPECT_EQ(other.glue.restore(StateStore::retrieve, &empty), LV2_STATE_ERR_NO_PROPERTY);
    const ProgramRecord unchanged = programOf(other.glue);
    EXPECT_EQ(std::memcmp(&before, &unchanged, sizeof(before)), 0) << "nothing declined was applied";

    type = other.urids(LV2_ATOM__Chunk);
    other.control(Param::Distort) = 0.9f;  // a stale port value, set before the state
    ASSERT_EQ(other.glue.restore(StateStore::retrieve, &state), LV2_STATE_SUCCESS);
    const ProgramRecord restored = programOf(other.glue);
    EXPECT_EQ(std::memcmp(&saved, &restored, sizeof(saved)), 0);
    char name[kVstMaxProgNameLen] = {};
    other.glue.effect().getProgramName(name);
    EXPECT_STREQ(name, other.glue.effect().getPresetName(7)) << "the program still knows its preset";

    // Ports set before the state do not undo it; a port the host moves afterwards does.
    other.run();
    EXPECT_EQ(other.glue.effect().getParameter(Param::Distort), 0.3f);
    other.control(Param::Distort) = 0.6f;
    other.run();
    EXPECT_EQ(other.glue.effect().getParameter(Param::Distort), 0.6f);

    Lv2Effect unmapped(44100.0, nullptr);
    EXPECT_EQ(unmapped.save(StateStore::store, &state), LV2_STATE_ERR_NO_FEATURE);
    EXPECT_EQ(unmapped.restore(StateStore::retrieve, &state), LV2_STATE_ERR_NO_FEATURE);
}

}  // namespace
