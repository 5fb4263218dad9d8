#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "tests/programs/ProgramsTestSupport.h"

namespace {

constexpr VstInt32 kChunkBytes = 2032;
const HostIdentity kPropHost{"Some DAW", "Prop Audio"};

struct HostCase {
    HostIdentity host;
    bool chunkFlag;
    bool bankChunk;
    bool programChunk;
};

class ChunkPerHost : public ::testing::TestWithParam<HostCase> {
protected:
    IsolatedHome home;
};

class Chunks : public ::testing::Test {
protected:
    IsolatedHome home;
    std::unique_ptr<ProgramsPlugin> source = std::make_unique<ProgramsPlugin>(kPropHost);
    std::unique_ptr<ProgramsPlugin> target = std::make_unique<ProgramsPlugin>(kPropHost);

    ProgramRecord chunkOf(ProgramsPlugin& plugin, bool isPreset = false) {
        void* data = nullptr;
        EXPECT_EQ(plugin.getChunk(&data, isPreset), kChunkBytes);
        ProgramRecord record{};
        if (data) std::memcpy(&record, data, sizeof record);
        return record;
    }
    static ProgramRecord presetChunk(VstInt32 preset, const char* name) {
        ProgramRecord record{};
        std::memcpy(record.values, FACTORY_PRESETS[preset].data(), sizeof record.values);
        std::strncpy(record.name, name, sizeof record.name);
        return record;
    }
};

}  // namespace

TEST_P(ChunkPerHost, OfferedAndTakenExactlyWhereTheHostIsKnownToRestoreThem) {
    const HostCase& c = GetParam();
    ProgramsPlugin plugin(c.host);
    EXPECT_EQ(plugin.chunksDeclared(), c.chunkFlag);
    for (bool isPreset : {false, true}) {
        const bool offered = isPreset ? c.programChunk : c.bankChunk;
        void* data = &plugin;  // must stay as it is when declined
        EXPECT_EQ(plugin.getChunk(&data, isPreset), offered ? kChunkBytes : 0) << isPreset;
        if (!offered) {
            EXPECT_EQ(data, &plugin);
        }

        ProgramRecord chunk{};
        std::memcpy(chunk.values, FACTORY_PRESETS[33].data(), sizeof chunk.values);
        float before[kNumParameters];
        for (VstInt32 i = 0; i < kNumParameters; ++i) before[i] = plugin.getParameter(i);
        EXPECT_EQ(plugin.setChunk(&chunk, kChunkBytes, isPreset), 1);
        EXPECT_EQ(plugin.programName(), offered ? "Vocal Weird 01" : "Default") << isPreset;
        for (VstInt32 i = 0; i < kNumParameters && !offered; ++i) ASSERT_EQ(plugin.getParameter(i), before[i]) << i;
        plugin.setFactoryProgram(0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, ChunkPerHost,
    ::testing::Values(HostCase{{"MASCHINE HOST", ""}, true, true, false},
                      HostCase{{"Maschine Host", "Native Instruments"}, true, true, false},
                      HostCase{{"Maschine Host 2", ""}, false, false, false},
                      HostCase{{"Kore 2", ""}, true, false, false},
                      HostCase{{"kOrE", "KTLM"}, true, false, false},
                      HostCase{{"Lumenhall", ""}, true, true, false},
                      HostCase{{"LUMENHALL", "Property Sound"}, true, true, true},
                      HostCase{{"Default", "prop"}, true, true, true},
                      HostCase{{"Maschine Host", "PROPER"}, true, true, false},
                      HostCase{{"Default", "KTLM"}, false, false, false},
                      HostCase{{"", ""}, false, false, false},
                      HostCase{{"Ardour", "Pro"}, false, false, false}));

TEST_F(Chunks, BankAndProgramChunksCarryTheSameRecord) {
    source->setFactoryProgram(17);
    const ProgramRecord bank = chunkOf(*source, false);
    const ProgramRecord program = chunkOf(*source, true);
    EXPECT_EQ(std::memcmp(&bank, &program, sizeof bank), 0);
    EXPECT_EQ(std::memcmp(bank.values, source->programs[0].values, sizeof bank.values), 0);
}

TEST_F(Chunks, AllValuesMoveToAnotherInstanceBitForBit) {
    for (VstInt32 i = 0; i < kNumParameters; ++i)
        source->setParameter(i, std::fmod(static_cast<float>(i) * 0.6180339f, 1.0f));
    source->setParameter(Param::ReverseTrigger, 1.0f);
    ProgramRecord chunk = chunkOf(*source);
    std::strcpy(chunk.name, "Moved");
    ASSERT_EQ(target->setChunk(&chunk, kChunkBytes, false), 1);
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        const float expected = i == Param::ReverseTrigger ? 0.0f : source->getParameter(i);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(target->getParameter(i)), std::bit_cast<std::uint32_t>(expected)) << i;
        if (parameterIsSwitch(i)) {
            EXPECT_TRUE(expected == 0.0f || expected == 1.0f) << i;
        }
    }
    EXPECT_FALSE(target->getEditChanged());
    EXPECT_STREQ(chunkOf(*target).name, "Moved");
}

TEST_F(Chunks, ACodedFactoryNameIsReportedWhateverTheNameField) {
    const ProgramRecord chunk = presetChunk(30, "anything at all");
    target->setChunk(const_cast<ProgramRecord*>(&chunk), kChunkBytes, true);
    EXPECT_EQ(target->programName(), "Vocal HP Move");
    EXPECT_EQ(target->factoryIndex, 30);
}

TEST_F(Chunks, ShortAndMissingChunksAreDeclinedWithoutReadingThem) {
    target->setFactoryProgram(9);
    const ProgramRecord before = chunkOf(*target);
    ProgramRecord chunk = presetChunk(30, "x");
    EXPECT_EQ(target->setChunk(&chunk, kChunkBytes - 1, false), 1);
    EXPECT_EQ(target->setChunk(&chunk, 0, false), 1);
    EXPECT_EQ(target->setChunk(&chunk, -kChunkBytes, false), 1);
    EXPECT_EQ(target->setChunk(nullptr, kChunkBytes, false), 1);
    EXPECT_EQ(target->getChunk(nullptr, false), 0);
    const ProgramRecord after = chunkOf(*target);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(target->programName(), "Drums & Perc 09");
}

TEST_F(Chunks, BadValuesAreClampedOnTheWayInAndCannotComeBackByRevert) {
    ProgramRecord chunk = presetChunk(28, "");
    chunk.values[Param::WetVolume] = std::numeric_limits<float>::quiet_NaN();
    chunk.values[Param::ReverseLength] = -5.0f;
    chunk.values[Param::LfoWave] = std::numeric_limits<float>::infinity();
    chunk.values[Param::FilterMode] = 0.7f;
    target->setChunk(&chunk, kChunkBytes + 100, false);  // a longer block is read up to the record's end
    const std::pair<VstInt32, float> expected[] = {
        {Param::WetVolume, 0.0f}, {Param::ReverseLength, 0.0f}, {Param::LfoWave, 1.0f}, {Param::FilterMode, 1.0f}};
    target->setParameter(Param::WetVolume, 0.5f);
    target->origProgram();
    for (const auto& [slot, value] : expected) {
        EXPECT_EQ(target->getParameter(slot), value) << slot;
        EXPECT_EQ(target->origValues[slot], value) << slot;
        EXPECT_EQ(chunkOf(*target).values[slot], value) << slot;
    }
    EXPECT_EQ(target->programName(), "Vocal 1bar clean");
    EXPECT_FALSE(target->getEditChanged());
}

TEST_F(Chunks, ANameWithoutTerminatorIsCutAt31Characters) {
    ProgramRecord chunk = presetChunk(2, "");
    std::memset(chunk.name, 'A', sizeof chunk.name);
    target->setChunk(&chunk, kChunkBytes, false);
    const ProgramRecord back = chunkOf(*target);
    EXPECT_EQ(std::string(back.name), std::string(31, 'A'));
    EXPECT_EQ(std::string(target->programs[0].name), std::string(31, 'A'));
}

TEST_F(Chunks, TheEffectsOwnBufferCanBeHandedBack) {
    target->setFactoryProgram(40);
    void* data = nullptr;
    ASSERT_EQ(target->getChunk(&data, false), kChunkBytes);
    target->setFactoryProgram(1);
    EXPECT_EQ(target->setChunk(data, kChunkBytes, false), 1);
    EXPECT_EQ(target->programName(), "Vocal weird 08");
    EXPECT_EQ(target->getParameter(Param::WetVolume), FACTORY_PRESETS[40][Param::WetVolume]);
}
