// The factory bank as stored data: names and bank names, the two fixed rows,
// and the rules every preset has to keep to be loaded and played sensibly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "plugin/ParameterTable.h"
#include "plugin/uPluginPresetsBanks.h"

namespace {

std::vector<std::string> expectedNames() {
    std::vector<std::string> names{"Default"};
    auto numbered = [&](const char* pattern, int count) {
        char text[32];
        for (int i = 1; i <= count; ++i) names.emplace_back((std::snprintf(text, sizeof text, pattern, i), text));
    };
    numbered("Drums & Perc %02d", 24);
    names.insert(names.end(), {"Drums & Perc Metal 01", "Drums & Perc Metal 02", "Drums & Perc Nasty",
                               "Vocal 1bar clean", "Vocal a Duck", "Vocal HP Move", "Vocal Kaput", "Vocal PanTuber"});
    numbered("Vocal Weird %02d", 10);
    names[40] = "Vocal weird 08";
    names.insert(names.end(), {"Voice a Duck", "Voice a Robot", "Voice Mad"});
    return names;
}

// Each character stored exactly as (code + 0.5) / 255.99 in float; the rest of the field is 0.
void expectCodedText(int preset, int firstSlot, std::size_t length, const std::string& text) {
    for (std::size_t i = 0; i < length; ++i)
        EXPECT_EQ(FACTORY_PRESETS[preset][firstSlot + i],
                  i < text.size() ? (static_cast<unsigned char>(text[i]) + 0.5f) / 255.99f : 0.0f)
            << "preset " << preset << " slot " << firstSlot + i;
}

const std::pair<int, StepShape> kStepped[] = {
    {Param::ReverseLength, kReverseLengthSteps}, {Param::ReverseRetriggerHoldTime, kReverseLengthSteps},
    {Param::LfoWave, kLfoWaveSteps}, {Param::LfoPhase, kLfoPhaseSteps}, {Param::LfoSpeed, kLfoSpeedSteps}};

float bars(float value) {
    return REVERSE_SYNCED_LENGTH_ARRAY[getSteppedValue(value, kReverseLengthSteps.scale, kReverseLengthSteps.count)];
}

// Slot values of a row given as (slot, value) pairs; everything else 0.
void expectParameterRow(int preset, std::vector<std::pair<int, float>> values) {
    float expected[Param::kFirstUnusedSlot] = {};
    for (const auto& [slot, value] : values) expected[slot] = value;
    for (int slot = 0; slot < Param::kFirstUnusedSlot; ++slot)
        EXPECT_EQ(FACTORY_PRESETS[preset][slot], expected[slot]) << "preset " << preset << " slot " << slot;
}

TEST(FactoryBank, NamesAndBankNamesAreExactCodes) {
    const auto names = expectedNames();
    ASSERT_EQ(names.size(), FACTORY_PRESETS.size());
    for (int p = 0; p < FACTORY_PRESET_COUNT; ++p) {
        expectCodedText(p, PRESET_NAME_SLOT, PRESET_NAME_LENGTH, names[p]);
        expectCodedText(p, PRESET_BANK_NAME_SLOT, PRESET_BANK_NAME_LENGTH,
                        p == 0 ? "Factory Default" : p <= 27 ? "Factory Drums" : p <= 42 ? "Factory Vocals"
                                                                                        : "Factory Voices");
    }
}

TEST(FactoryBank, FixedRowsMatchTheirPublishedValues) {
    expectParameterRow(0, {{2, 1.0f}, {3, 0.8f}, {4, 0.4004f}, {5, 0.3998f}, {7, 1.0f}, {8, 0.55f},
                           {9, 0.24f}, {10, 0.55f}, {15, 1.0f}, {17, 1.0f}, {21, 1.0f}, {24, 1.0f},
                           {25, 0.665f}, {26, 1.0f}, {27, 0.5f}, {28, 0.5f}, {29, 0.5f}, {30, 0.5f},
                           {32, 0.25f}, {33, 0.25f}});
    expectParameterRow(1, {{2, 1.0f}, {3, 0.585f}, {7, 1.0f}, {8, 0.55f}, {10, 0.55f}, {14, 0.702341f},
                           {15, 1.0f}, {17, 0.565f}, {18, 0.395f}, {19, 0.535f}, {21, 1.0f}, {24, 1.0f},
                           {25, 0.565f}, {26, 1.0f}, {27, 0.5f}, {28, 0.665f}, {29, 0.74f}, {30, 0.5f},
                           {31, 1.0f}, {32, 0.25f}, {33, 0.25f}});
}

TEST(FactoryBank, EveryPresetKeepsTheStoredFormTheFamilyRulesAndItsTimingAndSteps) {
    for (int p = 0; p < FACTORY_PRESET_COUNT; ++p) {
        const auto& row = FACTORY_PRESETS[p];
        for (int slot = 0; slot < kNumParameters; ++slot) {
            const float v = row[slot];
            const bool text = (slot >= PRESET_NAME_SLOT && slot < PRESET_NAME_SLOT + PRESET_NAME_LENGTH) ||
                              (slot >= PRESET_BANK_NAME_SLOT && slot < PRESET_BANK_NAME_SLOT + PRESET_BANK_NAME_LENGTH);
            EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << "preset " << p << " slot " << slot;
            if (slot == 0 || slot == 13 || (slot >= Param::kFirstUnusedSlot && !text)) {
                EXPECT_EQ(v, 0.0f) << "preset " << p << " slot " << slot;  // slots without meaning
            }
        }
        for (int slot : {1, 7, 11, 12, 15, 21, 22, 26, 31, 35})
            EXPECT_TRUE(row[slot] == 0.0f || row[slot] == 1.0f) << "preset " << p << " switch " << slot;
        // Tempo sync on, and nothing stored pressed.
        EXPECT_EQ(row[Param::ReverseTempoSync] + row[Param::LfoTempoSync], 2.0f) << p;
        EXPECT_EQ(row[Param::Bypass] + row[Param::Mute] + row[Param::ReverseTrigger], 0.0f) << p;

        const float mode = row[Param::ReverseTriggerMode];
        const float familyMode = p >= 1 && p <= 27 ? 0.702341f : p == 0 || p == 28 || (p >= 30 && p <= 32) ? 0.0f
                                                                                                        : 0.033445f;
        EXPECT_EQ(mode, familyMode) << p;
        // Voices start takes on their own level: a threshold a singer actually crosses.
        if (p >= 28) {
            EXPECT_EQ(getSteppedValue(mode, kTriggerModeSteps.scale, kTriggerModeSteps.count), 0) << p;
            EXPECT_GE(row[Param::ReverseTriggerThreshold], 0.1f) << p;  // -36 dB
            EXPECT_LE(row[Param::ReverseTriggerThreshold], 0.5f) << p;  // -20 dB
        }
        const float length = row[Param::ReverseLength], hold = row[Param::ReverseRetriggerHoldTime];
        // The engine would raise the hold to the length; as divisions the hold
        // must also last as long, since the table is not sorted by duration.
        EXPECT_GE(hold, length) << p;
        EXPECT_GE(bars(hold), bars(length)) << p;
        const int lfoStep = getSteppedValue(row[Param::LfoSpeed], kLfoSpeedSteps.scale, kLfoSpeedSteps.count);
        EXPECT_GT(lfoStep, 0) << p << ": a synced LFO on \"Off\" stands still";
        // A triggered LFO restarts with every take; a longer cycle would never finish.
        if (row[Param::LfoMode] == 1.0f) { EXPECT_LE(2.0f * LFO_SYNCED_PERIOD_ARRAY[lfoStep], bars(hold)) << p; }

        // Designed steps sit clear of their boundaries (the two fixed rows are as given).
        if (p < 2) continue;
        for (const auto& [slot, shape] : kStepped) {
            const int step = getSteppedValue(row[slot], shape.scale, shape.count);
            for (float nudge : {-0.005f, 0.005f})
                EXPECT_EQ(getSteppedValue(row[slot] + nudge, shape.scale, shape.count), step) << p << " slot " << slot;
        }
    }
}

TEST(FactoryBank, PresetsAreDistinctSounds) {
    for (int a = 0; a < FACTORY_PRESET_COUNT; ++a)
        for (int b = a + 1; b < FACTORY_PRESET_COUNT; ++b)
            EXPECT_FALSE(std::equal(FACTORY_PRESETS[a].begin(), FACTORY_PRESETS[a].begin() + Param::kFirstUnusedSlot,
                                    FACTORY_PRESETS[b].begin()))
                << "presets " << a << " and " << b;
}

TEST(PresetText, DecodingIsBoundedAndDefinedForAnyValue) {
    for (int code = 1; code < 256; ++code)
        EXPECT_EQ(decodePresetChar(encodePresetChar(static_cast<unsigned char>(code))), code);
    EXPECT_EQ(decodePresetChar(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(decodePresetChar(-0.5f), 0);
    EXPECT_EQ(decodePresetChar(1.0f), 255);
    EXPECT_EQ(decodePresetChar(std::numeric_limits<float>::infinity()), 255);

    // A full field has no terminator: decoding stops at the field's end.
    float slots[PRESET_NAME_LENGTH + 4];
    for (float& s : slots) s = encodePresetChar('x');
    char text[PRESET_NAME_LENGTH + 8];
    std::fill(std::begin(text), std::end(text), '#');
    decodePresetText(slots, PRESET_NAME_LENGTH, text);
    EXPECT_EQ(std::string(text), std::string(PRESET_NAME_LENGTH, 'x'));
    EXPECT_EQ(text[PRESET_NAME_LENGTH + 1], '#');

    decodePresetText(nullptr, PRESET_NAME_LENGTH, text);
    EXPECT_EQ(text[0], '\0');
    decodePresetText(slots, PRESET_NAME_LENGTH, nullptr);  // nothing to write into: no crash
}

}  // namespace
