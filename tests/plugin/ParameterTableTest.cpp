#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "plugin/ParameterTable.h"
#include "resources/FrontPanelLayout.h"

TEST(ParameterTable, ConstantsKeepTheirExactFloats) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVERSE_MIN_TIME_LOG), 0x40D49A78u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVERSE_MAX_TIME_LOG), 0x4115269Eu);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVESE_OFFSET_MAX_TIME_LOG), 0x411F73DAu);
    EXPECT_EQ(REVERSE_SYNCED_LENGTH_ARRAY[2], 0.0833333358f);
    EXPECT_EQ(REVERSE_SYNCED_LENGTH_ARRAY[14], 1.3333333731f);
    EXPECT_STREQ(_REVERSE_SYNCED_LENGTH_STRING[12], "1/1");
    EXPECT_STREQ(_LFO_TEMPO_SYNCED_PERIOD_STRING[17], "1/1");
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[17], 0.5f);
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[30], 1.0f / 48.0f);
}

TEST(ParameterTable, SteppedReadings) {
    EXPECT_EQ(getSteppedValue(1.0f, 3.0f, 4), 3);  // "LFO Phase" default: "270 Deg"
    EXPECT_EQ(getSteppedValue(0.999f, 3.0f, 4), 3);
    EXPECT_EQ(getSteppedValue(0.6f, 3.0f, 4), 1);  // trunc(1.9)
    EXPECT_EQ(getSteppedValue(1.0f, 21.99f, 22), 21);
    EXPECT_EQ(getSteppedValue(0.55f, 21.99f, 22), 12);
    EXPECT_EQ(getSteppedValue(0.665f, 30.99f, 31), 20);
    EXPECT_EQ(getSteppedValue(1.0f, 2.99f, 3), 2);
    EXPECT_EQ(getSteppedValue(0.5f, 2.99f, 3), 1);
    for (int step = 0; step < 31; ++step)  // written as step/scale, read back as that step
        EXPECT_EQ(getSteppedValue((step + 0.1f) / 30.99f, 30.99f, 31), step);
    // Bad input stays inside the table.
    EXPECT_EQ(getSteppedValue(-5.0f, 3.0f, 4), 0);
    EXPECT_EQ(getSteppedValue(std::numeric_limits<float>::quiet_NaN(), 3.0f, 4), 0);
    EXPECT_EQ(getSteppedValue(std::numeric_limits<float>::infinity(), 3.0f, 4), 3);
    EXPECT_EQ(getSteppedValue(0.5f, 3.0f, 0), 0);
}

TEST(ParameterTable, ConversionsSaturate) {
    EXPECT_EQ(toIndex(std::nan("")), 0);
    EXPECT_EQ(toIndex(-2.9), -2);
    EXPECT_EQ(toIndex(1e300), std::numeric_limits<VstInt32>::max());
    EXPECT_EQ(toIndex(-1e300), std::numeric_limits<VstInt32>::min());
    EXPECT_EQ(clampUnit(std::nan("")), 0.0f);
    EXPECT_FALSE(std::signbit(clampUnit(-0.0)));
    EXPECT_EQ(clampUnit(1.3), 1.0f);
    EXPECT_EQ(clampUnit(0.25), 0.25f);
}

TEST(ParameterTable, PanelControlsShowParameters) {
    for (const auto& knob : tidewalker::layout::KNOBS) EXPECT_NE(parameterRow(knob[0]).name, nullptr) << knob[0];
    for (const auto& button : tidewalker::layout::ON_OFFS) {
        if (button[0] == 510) continue;  // the editor's offset lock
        const ParameterKind kind = parameterRow(button[0]).kind;
        EXPECT_TRUE(kind == ParameterKind::Switch || kind == ParameterKind::OnOff) << button[0];
    }
}
