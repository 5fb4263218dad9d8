#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include "plugin/ParameterTable.h"
#include "resources/FrontPanelLayout.h"

TEST(ParameterTable, TimeConstantsKeepTheirExactBits) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVERSE_MIN_TIME_LOG), 0x40D49A78u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVERSE_MAX_TIME_LOG), 0x4115269Eu);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVESE_OFFSET_MAX_TIME_LOG), 0x411F73DAu);
    EXPECT_FLOAT_EQ(REVERSE_MIN_TIME_LOG, std::log2(100.0f));
}

TEST(ParameterTable, DivisionTablesHoldTheNearestFloats) {
    EXPECT_STREQ(_REVERSE_SYNCED_LENGTH_STRING[2], "1/8T");
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVERSE_SYNCED_LENGTH_ARRAY[2]), std::bit_cast<std::uint32_t>(0.0833333358f));
    EXPECT_EQ(REVERSE_SYNCED_LENGTH_ARRAY[12], 1.0f);
    EXPECT_STREQ(_REVERSE_SYNCED_LENGTH_STRING[12], "1/1");
    EXPECT_EQ(REVERSE_SYNCED_LENGTH_ARRAY[14], 1.3333333731f);
    EXPECT_STREQ(_REVERSE_SYNCED_LENGTH_STRING[21], "8/1");

    EXPECT_STREQ(_LFO_TEMPO_SYNCED_PERIOD_STRING[0], "Off");
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[0], 0.0f);
    EXPECT_STREQ(_LFO_TEMPO_SYNCED_PERIOD_STRING[14], "2/1");
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[14], 1.0f);
    EXPECT_STREQ(_LFO_TEMPO_SYNCED_PERIOD_STRING[17], "1/1");
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[17], 0.5f);
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[3], 32.0f / 3.0f);
    EXPECT_STREQ(_LFO_TEMPO_SYNCED_PERIOD_STRING[30], "1/16T");
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[30], 1.0f / 48.0f);
    // Within each group: dotted, plain, triplet.
    for (int i = 1; i < 31; i += 3) {
        EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[i], 1.5f * LFO_SYNCED_PERIOD_ARRAY[i + 1]) << i;
        EXPECT_FLOAT_EQ(LFO_SYNCED_PERIOD_ARRAY[i + 2], LFO_SYNCED_PERIOD_ARRAY[i + 1] * 2.0f / 3.0f) << i;
    }
}

TEST(ParameterTable, SteppedReadingsHitTheirChoices) {
    EXPECT_EQ(getSteppedValue(1.0f, 3.0f, 4), 3);     // "LFO Phase" default: "270 Deg"
    EXPECT_EQ(getSteppedValue(0.999f, 3.0f, 4), 3);
    EXPECT_EQ(getSteppedValue(0.6f, 3.0f, 4), 1);     // trunc(1.9)
    EXPECT_EQ(getSteppedValue(1.0f, 21.99f, 22), 21);
    EXPECT_EQ(getSteppedValue(0.55f, 21.99f, 22), 12);
    EXPECT_EQ(getSteppedValue(0.665f, 30.99f, 31), 20);
    EXPECT_EQ(getSteppedValue(1.0f, 2.99f, 3), 2);
    EXPECT_EQ(getSteppedValue(0.5f, 2.99f, 3), 1);
    // A value written as step/scale reads back as that step.
    for (int step = 0; step < 31; ++step)
        EXPECT_EQ(getSteppedValue((step + 0.1f) / 30.99f, 30.99f, 31), step);
}

TEST(ParameterTable, SteppedReadingOfBadInputStaysInsideTheTable) {
    EXPECT_EQ(getSteppedValue(-5.0f, 3.0f, 4), 0);
    EXPECT_EQ(getSteppedValue(1e30f, 3.0f, 4), 3);
    EXPECT_EQ(getSteppedValue(std::numeric_limits<float>::quiet_NaN(), 3.0f, 4), 0);
    EXPECT_EQ(getSteppedValue(std::numeric_limits<float>::infinity(), 3.0f, 4), 3);
    EXPECT_EQ(getSteppedValue(0.5f, 3.0f, 0), 0);
}

TEST(ParameterTable, ConversionsSaturate) {
    EXPECT_EQ(toIndex(std::nan("")), 0);
    EXPECT_EQ(toIndex(2.9), 2);
    EXPECT_EQ(toIndex(-2.9), -2);
    EXPECT_EQ(toIndex(1e300), std::numeric_limits<VstInt32>::max());
    EXPECT_EQ(toIndex(-1e300), std::numeric_limits<VstInt32>::min());
    EXPECT_EQ(clampUnit(std::nan("")), 0.0f);
    EXPECT_EQ(std::signbit(clampUnit(-0.0)), false);
    EXPECT_EQ(clampUnit(1.3), 1.0f);
    EXPECT_EQ(clampUnit(-1e300), 0.0f);
    EXPECT_EQ(clampUnit(0.25), 0.25f);
}

TEST(ParameterTable, RowsAreConsistent) {
    const std::set<int> switches{1, 7, 11, 15, 21, 26, 31, 35};
    for (int i = -3; i < 40; ++i) {
        const ParameterRow& row = parameterRow(i);
        EXPECT_EQ(parameterIsSwitch(i), switches.count(i) == 1) << i;
        EXPECT_GE(row.defaultValue, 0.0f);
        EXPECT_LE(row.defaultValue, 1.0f);
        if (row.display == DisplayKind::Choice) {
            EXPECT_NE(row.choiceNames, nullptr) << i;
        }
        if (row.entry == EntryKind::Choice || row.stepsByChoice) {
            EXPECT_GT(row.steps.count, 1) << i;
        }
        if (row.entry == EntryKind::Linear) {
            EXPECT_NE(row.entryScale, 0.0f) << i;
        }
        const bool named = row.name != nullptr;
        EXPECT_EQ(named, i >= 1 && i <= 35 && i != 13) << i;
    }
    EXPECT_STREQ(parameterName(29, 0), "LFO > LowPass Filter Frequency");
    EXPECT_EQ(std::strlen(parameterName(29, 0)), 30u);  // the longest name
    EXPECT_STREQ(parameterName(19, 1), "Comb Filter Feedback");
    EXPECT_STREQ(parameterName(500, 0), "~~~");
}

TEST(ParameterTable, PanelRowsNameParameters) {
    for (const auto& knob : tidewalker::layout::KNOBS) EXPECT_NE(parameterRow(knob[0]).name, nullptr) << knob[0];
    for (const auto& button : tidewalker::layout::ON_OFFS) {
        if (button[0] == 510) continue;  // the editor's offset lock
        const ParameterKind kind = parameterRow(button[0]).kind;
        EXPECT_TRUE(kind == ParameterKind::Switch || kind == ParameterKind::OnOff) << button[0];
    }
    EXPECT_EQ(PRESET_END[3], 128);
}
