// The slot store on its own: a program applied, edited and reverted, and the
// record in and out as a chunk.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "plugin/ParameterSlots.h"
#include "plugin/uPluginPresetsBanks.h"

namespace {

struct Slots : ::testing::Test {
    std::unique_ptr<ParameterSlots> slots = std::make_unique<ParameterSlots>();
    ProgramRecord& record = slots->programs[0];

    Slots() {
        slots->setDefaultSettings();
        slots->takeValues(FACTORY_PRESETS[5].data(), kNumParameters);
    }
};

}  // namespace

TEST_F(Slots, AppliedRecordIsWhatEveryCopyAndRevertReturnsTo) {
    record.values[Param::Mute] = 0.7f;
    record.values[Param::WetVolume] = std::numeric_limits<float>::quiet_NaN();
    record.values[Param::ReverseTrigger] = 1.0f;
    const float kept = 0.3f;
    slots->applyRecord(&kept);
    for (auto [slot, value] : {std::pair{Param::Mute, 1.0f}, {Param::WetVolume, 0.0f}, {Param::ReverseTrigger, 0.0f}}) {
        EXPECT_EQ(slots->load(slot), value) << slot;
        EXPECT_EQ(slots->origValues[slot], value) << slot;
        EXPECT_EQ(slots->lastValues[slot], value) << slot;
    }
    EXPECT_EQ(record.values[Param::ReverseTrigger], 0.0f);
    EXPECT_EQ(slots->load(Param::ReverseOffset), kept);
    EXPECT_EQ(record.values[Param::ReverseOffset], kept);

    slots->store(300, 0.3f);  // outside the editor's slots: no edit
    EXPECT_FALSE(slots->getEdited());
    slots->store(Param::WetVolume, 0.6f);
    EXPECT_TRUE(slots->getEdited());

    slots->revertToOriginal();
    EXPECT_FALSE(slots->getEdited());
    EXPECT_EQ(slots->load(Param::WetVolume), 0.0f);
    EXPECT_EQ(slots->load(300), 0.0f);
    slots->revertToEdited();
    EXPECT_TRUE(slots->getEdited());
    EXPECT_EQ(record.values[Param::WetVolume], 0.6f);
    EXPECT_EQ(slots->load(300), 0.3f);
    slots->revertToDefault();
    EXPECT_EQ(slots->load(Param::WetVolume), 0.8f);
    EXPECT_EQ(slots->load(300), 0.3f);  // the coded names and what follows them stay
    EXPECT_EQ(record.values[PRESET_NAME_SLOT], FACTORY_PRESETS[5][PRESET_NAME_SLOT]);
}

TEST_F(Slots, ChunksComeInStoredFormAndGoOutZeroPadded) {
    ProgramRecord chunk{};
    chunk.values[Param::Mute] = 0.2f;
    chunk.values[Param::DryVolume] = -3.0f;
    chunk.values[Param::WetVolume] = 0.123f;
    std::memset(chunk.name, 'N', sizeof chunk.name);  // no terminator
    slots->takeRecordFrom(chunk);
    EXPECT_EQ(record.values[Param::Mute], 0.0f);
    EXPECT_EQ(record.values[Param::DryVolume], 0.0f);
    EXPECT_EQ(record.values[Param::WetVolume], 0.123f);
    EXPECT_EQ(std::strlen(record.name), sizeof record.name - 1);

    std::strcpy(record.name, "Kept");
    std::memset(chunk.name, 'x', sizeof chunk.name);
    slots->copyRecordTo(chunk);
    EXPECT_STREQ(chunk.name, "Kept");
    for (std::size_t i = 4; i < sizeof chunk.name; ++i) ASSERT_EQ(chunk.name[i], '\0') << i;
    EXPECT_EQ(std::memcmp(chunk.values, record.values, sizeof chunk.values), 0);
}
