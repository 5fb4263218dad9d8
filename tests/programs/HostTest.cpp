#include <gtest/gtest.h>

#include <memory>

#include "tests/programs/ProgramsTestSupport.h"

namespace {

struct FlagCase {
    HostIdentity host;
    bool kore, maschine, lumenhall, vendorProp;
};

class HostFlags : public ::testing::TestWithParam<FlagCase> {
protected:
    IsolatedHome home;
};

// Remembers what the host's wheel message handed to the editor.
class WheelEditor : public AEffEditor {
public:
    bool answer = true;
    int calls = 0;
    float distance = 0.0f;
    bool onWheel(float d) override {
        ++calls;
        distance = d;
        return answer;
    }
};

constexpr VstInt32 kWheelIndex = fourCharCode("stCA");
constexpr VstIntPtr kWheelValue = fourCharCode("Whee");

}  // namespace

TEST_P(HostFlags, ComeFromTheUpperCasedProductAndVendor) {
    const FlagCase& c = GetParam();
    ProgramsPlugin plugin(c.host);
    EXPECT_EQ(plugin.hostIsKore, c.kore);
    EXPECT_EQ(plugin.hostIsMaschine, c.maschine);
    EXPECT_EQ(plugin.hostIsLumenhall, c.lumenhall);
    EXPECT_EQ(plugin.hostIsVendorProp, c.vendorProp);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, HostFlags,
    ::testing::Values(FlagCase{{"Kore", ""}, true, false, false, false},
                      FlagCase{{"kore player 2", ""}, true, false, false, false},
                      FlagCase{{"Kor", ""}, false, false, false, false},
                      FlagCase{{"Maschine Host", ""}, false, true, false, false},
                      FlagCase{{"Maschine Host ", ""}, false, false, false, false},
                      FlagCase{{"lumenHall", ""}, false, false, true, false},
                      FlagCase{{"Default", "pRoP"}, false, false, false, true},
                      FlagCase{{"Default", "KTLM"}, false, false, false, false},
                      FlagCase{{"", ""}, false, false, false, false},
                      FlagCase{{std::string(200, 'k'), std::string(200, 'p')}, false, false, false, false}));

TEST(HostWheel, ReachesTheEditorOnlyForTheWheelMessage) {
    IsolatedHome home;
    ProgramsPlugin plugin;
    EXPECT_EQ(plugin.vendorSpecific(kWheelIndex, kWheelValue, nullptr, 1.0f), 0);  // no editor yet

    auto* editor = new WheelEditor;
    plugin.setEditor(editor);
    EXPECT_EQ(plugin.vendorSpecific(kWheelIndex, kWheelValue, nullptr, -2.5f), 1);
    EXPECT_EQ(editor->distance, -2.5f);
    editor->answer = false;
    EXPECT_EQ(plugin.dispatcher(effVendorSpecific, kWheelIndex, kWheelValue, nullptr, 3.0f), 0);
    EXPECT_EQ(editor->calls, 2);
    EXPECT_EQ(plugin.vendorSpecific(fourCharCode("Whee"), fourCharCode("stCA"), nullptr, 1.0f), 0);
    EXPECT_EQ(plugin.vendorSpecific(kWheelIndex, 0, nullptr, 1.0f), 0);
    EXPECT_EQ(editor->calls, 2);
}
