// The manual as the build leaves it: every parameter and every choice it can
// show is described, and every picture it shows was drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <string>

#include "plugin/ParameterTable.h"
#include "tests/platform/PlatformTestSupport.h"

namespace {

std::string asHtml(std::string text) {
    for (auto [plain, escaped] : {std::pair{"&", "&amp;"}, {">", "&gt;"}}) {
        for (std::size_t at = 0; (at = text.find(plain, at)) != std::string::npos; at += std::strlen(escaped))
            text.replace(at, 1, escaped);
    }
    return text;
}

TEST(Manual, NamesEveryParameterAndChoiceAndShowsOnlyPicturesTheBuildDrew) {
    const std::filesystem::path folder = TIDEWALKER_MANUAL_DIR;
    const std::string page = readFile(folder / "Tidewalker_Manual.html");
    ASSERT_FALSE(page.empty());
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        for (VstInt32 filterMode : {0, 1}) {
            const std::string name = parameterName(i, filterMode);
            if (name != "~~~") {
                EXPECT_NE(page.find(asHtml(name)), std::string::npos) << name;
            }
        }
        const ParameterRow& row = parameterRow(i);
        for (VstInt32 c = 0; row.choiceNames && c < row.steps.count; ++c)
            EXPECT_NE(page.find(asHtml(row.choiceNames[c])), std::string::npos) << row.choiceNames[c];
    }
    const std::regex picture(R"re(<img src="([^"]+)")re");
    int pictures = 0;
    for (std::sregex_iterator it(page.begin(), page.end(), picture), end; it != end; ++it, ++pictures)
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / (*it)[1].str())) << (*it)[1];
    // The front panel and the settings page are both shown.
    for (const char* drawn : {"tidewalker-editor-100.png", "tidewalker-settings-100.png"})
        EXPECT_NE(page.find(std::string("<img src=\"") + drawn), std::string::npos) << drawn;
}

}  // namespace
