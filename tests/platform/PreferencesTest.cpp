#include "platform/Locations.h"
#include "platform/PreferenceSnapshot.h"
#include "platform/Preferences.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace fs = std::filesystem;

namespace {

class Preferences : public ::testing::Test {
protected:
    IsolatedHome home;

    nlohmann::json userObject() const { return nlohmann::json::parse(readFile(home.userFile())); }
    std::string loadString(const char* key, std::size_t maxBytes = 128)
    {
        std::string text(maxBytes, 'x');
        loadStringFromPrefs(key, text.data(), maxBytes);
        return text.c_str();
    }
};

}  // namespace

TEST_F(Preferences, StringsAndIntegersRoundTripAsJsonTypes)
{
    EXPECT_EQ(loadString("ECSDir"), "");
    EXPECT_EQ(loadIntFromPrefs("7"), 0);

    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/music/ECS files/\xc3\xa9t\xc3\xa9/"));
    ASSERT_TRUE(saveIntToPrefs("7", 3));
    ASSERT_TRUE(saveIntToPrefs("8", -2147483647 - 1));
    ASSERT_TRUE(saveStringToPrefs("Key", "N"));
    ASSERT_TRUE(saveStringToPrefs("Key", "Y"));  // overwrite keeps one entry

    EXPECT_EQ(loadString("ECSDir"), "/music/ECS files/\xc3\xa9t\xc3\xa9/");
    EXPECT_EQ(loadIntFromPrefs("7"), 3);
    EXPECT_EQ(loadIntFromPrefs("8"), -2147483647 - 1);
    EXPECT_TRUE(getRegistryIsOn("Key", false));

    const auto stored = userObject();
    EXPECT_TRUE(stored["7"].is_number_integer());
    EXPECT_TRUE(stored["ECSDir"].is_string());
    EXPECT_EQ(stored.size(), 4u);
}

TEST_F(Preferences, ManyNumbersStoredInOneWrite)
{
    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/kept/"));
    std::vector<std::string> keys;
    std::vector<IntPreference> entries;
    for (int cc = 0; cc < 128; ++cc) keys.push_back(std::to_string(cc));
    for (int cc = 0; cc < 128; ++cc) entries.push_back({keys[cc].c_str(), cc * 2});
    ASSERT_TRUE(saveIntsToPrefs(entries));
    for (int cc = 0; cc < 128; ++cc) EXPECT_EQ(loadIntFromPrefs(keys[cc].c_str()), cc * 2);
    EXPECT_EQ(loadString("ECSDir"), "/kept/");

    // One bad key stores none of them.
    const IntPreference mixed[] = {{"0", 99}, {"bad\xff", 1}};
    EXPECT_FALSE(saveIntsToPrefs(mixed));
    EXPECT_EQ(loadIntFromPrefs("0"), 0);
}

TEST_F(Preferences, WrongTypesReadAsEmptyZeroOrDefault)
{
    writeFile(home.userFile(), R"({"text": "12", "number": 5, "bool": true, "half": 2.5, "whole": 7.0,
                                  "huge": 5000000000, "low": -3, "y": "y", "yes": "Yes", "on": "Y", "off": "N",
                                  "list": [1]})");
    EXPECT_EQ(loadIntFromPrefs("text"), 0);
    EXPECT_EQ(loadString("number"), "");
    EXPECT_EQ(loadIntFromPrefs("bool"), 0);
    EXPECT_EQ(loadIntFromPrefs("half"), 0);
    EXPECT_EQ(loadIntFromPrefs("whole"), 7);
    EXPECT_EQ(loadIntFromPrefs("huge"), 0);
    EXPECT_EQ(loadIntFromPrefs("low"), -3);
    EXPECT_EQ(loadIntFromPrefs("list"), 0);

    for (bool fallback : {false, true}) {
        EXPECT_EQ(getRegistryIsOn("y", fallback), fallback);
        EXPECT_EQ(getRegistryIsOn("yes", fallback), fallback);
        EXPECT_EQ(getRegistryIsOn("number", fallback), fallback);
        EXPECT_EQ(getRegistryIsOn("absent", fallback), fallback);
        EXPECT_TRUE(getRegistryIsOn("on", fallback));
        EXPECT_FALSE(getRegistryIsOn("off", fallback));
    }
}

TEST_F(Preferences, StringThatDoesNotFitReadsEmptyAndStaysInBounds)
{
    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/0123456789/"));
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    loadStringFromPrefs("ECSDir", buffer, 12);  // needs 13 with the terminator
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[12], '#');
    loadStringFromPrefs("ECSDir", buffer, 13);
    EXPECT_STREQ(buffer, "/0123456789/");
}

TEST_F(Preferences, InvalidUtf8IsRefusedAndLosesNothing)
{
    ASSERT_TRUE(saveIntToPrefs("1", 25));
    const std::string before = readFile(home.userFile());
    EXPECT_FALSE(saveStringToPrefs("ECSDir", "/bad\xff/"));
    EXPECT_FALSE(saveStringToPrefs("bad\xfe", "x"));
    EXPECT_EQ(readFile(home.userFile()), before);
}

TEST_F(Preferences, BrokenFileIsKeptAsideBeforeAFreshOneIsWritten)
{
    const std::string broken = "{\"7\": 3, oops";
    writeFile(home.userFile(), broken);

    // Reading never moves anything.
    EXPECT_EQ(loadIntFromPrefs("7"), 0);
    EXPECT_EQ(readFile(home.userFile()), broken);

    ASSERT_TRUE(saveIntToPrefs("9", 4));
    EXPECT_EQ(userObject(), nlohmann::json({{"9", 4}}));

    int keptAside = 0;
    for (const auto& entry : fs::directory_iterator(home.userFile().parent_path())) {
        if (entry.path().filename().string().starts_with("preferences.json.broken-")) {
            ++keptAside;
            EXPECT_EQ(readFile(entry.path()), broken);
        }
    }
    EXPECT_EQ(keptAside, 1);

    // A second broken file gets its own name next to the first.
    writeFile(home.userFile(), "[1, 2]");
    ASSERT_TRUE(saveIntToPrefs("9", 5));
    int after = 0;
    for (const auto& entry : fs::directory_iterator(home.userFile().parent_path())) {
        after += entry.path().filename().string().starts_with("preferences.json.broken-");
    }
    EXPECT_EQ(after, 2);
}

TEST_F(Preferences, UnreadableFileIsNeverOverwritten)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ASSERT_TRUE(saveIntToPrefs("1", 25));
    ::chmod(home.userFile().c_str(), 0);
    EXPECT_FALSE(saveIntToPrefs("2", 26));
    ::chmod(home.userFile().c_str(), 0644);
    EXPECT_EQ(userObject(), nlohmann::json({{"1", 25}}));
}

TEST_F(Preferences, AllUsersStringIsTakenOverByTheUser)
{
    writeFile(home.allUsersFile(2), R"({"ECSDir": "/srv/ECS/", "MidiBank": "N", "5": 12})");
    writeFile(home.allUsersFile(1), R"({"MidiBank": "Y"})");

    EXPECT_EQ(loadString("ECSDir"), "/srv/ECS/");
    EXPECT_TRUE(getRegistryIsOn("MidiBank", false));  // the first folder wins
    EXPECT_EQ(userObject()["ECSDir"], "/srv/ECS/");
    EXPECT_EQ(userObject()["MidiBank"], "Y");

    // The user's own value wins over the installed one from now on.
    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/home/me/ECS/"));
    EXPECT_EQ(loadString("ECSDir"), "/home/me/ECS/");
    // Numbers are per user only.
    EXPECT_EQ(loadIntFromPrefs("5"), 0);
}

TEST_F(Preferences, EcsFolderDefaultIsStoredThenReadBack)
{
    // What the effect does at start: an empty "ECSDir" becomes the default
    // folder and is stored, so the next instance reads it.
    char folder[kPathBytes] = "";
    loadStringFromPrefs("ECSDir", folder, kFolderPathMaxChars + 1);
    ASSERT_STREQ(folder, "");
    ASSERT_TRUE(getDefaultEcsDirectory(folder));
    ASSERT_TRUE(saveStringToPrefs("ECSDir", folder));

    char again[kPathBytes] = "";
    loadStringFromPrefs("ECSDir", again, kFolderPathMaxChars + 1);
    EXPECT_EQ(std::string(again), home.root.str() + "/data/Ola Marsk/Tidewalker/ECS/");
}

TEST_F(Preferences, SnapshotFollowsOwnWritesAtOnceAndOthersOnRefresh)
{
    PreferenceSnapshot snapshot;
    EXPECT_TRUE(snapshot.muteReverse());  // on by default

    ASSERT_TRUE(saveStringToPrefs("MuteReverse", "N"));
    EXPECT_FALSE(snapshot.muteReverse());
    PreferenceSnapshot later;
    EXPECT_FALSE(later.muteReverse());

    // Another process rewrites the file behind our back.
    writeFile(home.userFile(), R"({"MuteReverse": "Y"})");
    snapshot.refreshIfDue();  // just refreshed: not due yet
    EXPECT_FALSE(snapshot.muteReverse());
    snapshot.refresh();
    EXPECT_TRUE(snapshot.muteReverse());

    // Anything but "Y" or "N" is the default, on.
    ASSERT_TRUE(saveStringToPrefs("MuteReverse", "no"));
    EXPECT_TRUE(later.muteReverse());
}
