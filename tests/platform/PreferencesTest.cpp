#include "platform/PreferenceSnapshot.h"
#include "platform/Preferences.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <set>

namespace {

using Json = nlohmann::json;

class Preferences : public ::testing::Test {
protected:
    IsolatedHome home;
    Json userObject() const { return Json::parse(readFile(home.userFile())); }
    static std::string loadString(const char* key) {
        char text[128];
        loadStringFromPrefs(key, text, sizeof text);
        return text;
    }
};

}  // namespace

TEST_F(Preferences, StringsAndIntegersRoundTripAsJsonTypes) {
    EXPECT_EQ(loadString("ECSDir"), "");
    EXPECT_EQ(loadIntFromPrefs("7"), 0);
    for (bool saved : {saveStringToPrefs("ECSDir", "/music/ECS files/\xc3\xa9t\xc3\xa9/"), saveIntToPrefs("7", 3),
                       saveIntToPrefs("8", -2147483647 - 1), saveStringToPrefs("Key", "N"),
                       saveStringToPrefs("Key", "Y")})
        ASSERT_TRUE(saved);
    EXPECT_EQ(loadString("ECSDir"), "/music/ECS files/\xc3\xa9t\xc3\xa9/");
    EXPECT_EQ(loadIntFromPrefs("8"), -2147483647 - 1);
    EXPECT_TRUE(getRegistryIsOn("Key", false));
    EXPECT_EQ(userObject(), Json::parse(R"({"ECSDir": "/music/ECS files/\u00e9t\u00e9/", "7": 3, "8": -2147483648,
                                            "Key": "Y"})"));

    // A whole controller map in one write, the other keys kept.
    std::vector<std::string> keys(128);
    std::vector<IntPreference> map;
    for (int cc = 0; cc < 128; ++cc) map.push_back({(keys[cc] = std::to_string(cc)).c_str(), cc * 2});
    ASSERT_TRUE(saveIntsToPrefs(map));
    EXPECT_EQ(loadIntFromPrefs("127"), 254);
    EXPECT_EQ(userObject().size(), 130u);
}

TEST_F(Preferences, WrongTypesReadAsEmptyZeroOrDefault) {
    writeFile(home.userFile(), R"({"text": "12", "number": 5, "bool": true, "half": 2.5, "whole": 7.0,
                                  "huge": 5000000000, "low": -3, "y": "y", "yes": "Yes", "on": "Y", "off": "N"})");
    for (const char* key : {"text", "bool", "half", "huge"}) EXPECT_EQ(loadIntFromPrefs(key), 0) << key;
    EXPECT_EQ(loadIntFromPrefs("whole"), 7);
    EXPECT_EQ(loadIntFromPrefs("low"), -3);
    EXPECT_EQ(loadString("number"), "");
    IntPreference many[] = {{"text", 9}, {"whole", 9}, {"huge", 9}, {"low", 9}, {"absent", 9}};
    loadIntsFromPrefs(many);
    for (const IntPreference& entry : many) EXPECT_EQ(entry.value, loadIntFromPrefs(entry.key)) << entry.key;
    for (bool fallback : {false, true}) {
        for (const char* key : {"y", "yes", "number", "absent"}) EXPECT_EQ(getRegistryIsOn(key, fallback), fallback);
        EXPECT_TRUE(getRegistryIsOn("on", fallback));
        EXPECT_FALSE(getRegistryIsOn("off", fallback));
    }
}

TEST_F(Preferences, UnfitOrInvalidTextIsRefusedAndLosesNothing) {
    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/0123456789/"));
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    loadStringFromPrefs("ECSDir", buffer, 12);  // needs 13 with the terminator
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[12], '#');

    const std::string before = readFile(home.userFile());
    EXPECT_FALSE(saveStringToPrefs("ECSDir", "/bad\xff/"));
    const IntPreference mixed[] = {{"0", 99}, {"bad\xfe", 1}};
    EXPECT_FALSE(saveIntsToPrefs(mixed));
    EXPECT_EQ(readFile(home.userFile()), before);
}

TEST_F(Preferences, BrokenFileIsKeptAsideAndLinksAndFifosAreHandled) {
    const std::string broken = "{\"7\": 3, oops";
    writeFile(home.userFile(), broken);
    EXPECT_EQ(loadIntFromPrefs("7"), 0);
    EXPECT_EQ(readFile(home.userFile()), broken);  // reading never moves anything
    ASSERT_TRUE(saveIntToPrefs("9", 4));
    writeFile(home.userFile(), "[1, 2]");  // valid JSON, but not ours
    ASSERT_TRUE(saveIntToPrefs("9", 5));
    EXPECT_EQ(userObject(), Json({{"9", 5}}));
    std::multiset<std::string> keptAside;
    for (const auto& entry : std::filesystem::directory_iterator(home.userFile().parent_path()))
        if (entry.path().filename().string().starts_with("preferences.json.broken-"))
            keptAside.insert(readFile(entry.path()));
    EXPECT_EQ(keptAside, (std::multiset<std::string>{broken, "[1, 2]"}));

    // A linked store stays linked; a FIFO cannot hang us and is set aside.
    const auto elsewhere = home.root.path / "dotfiles/preferences.json";
    writeFile(elsewhere, R"({"Key": "N"})");
    std::filesystem::remove(home.userFile());
    std::filesystem::create_symlink(elsewhere, home.userFile());
    ASSERT_TRUE(saveIntToPrefs("1", 2));
    EXPECT_TRUE(std::filesystem::is_symlink(home.userFile()));
    EXPECT_EQ(Json::parse(readFile(elsewhere)), Json({{"Key", "N"}, {"1", 2}}));
    std::filesystem::remove(home.userFile());
    ASSERT_EQ(::mkfifo(home.userFile().c_str(), 0644), 0);
    EXPECT_EQ(loadIntFromPrefs("1"), 0);
    ASSERT_TRUE(saveIntToPrefs("1", 3));
    EXPECT_EQ(loadIntFromPrefs("1"), 3);
}

TEST_F(Preferences, AllUsersStringIsTakenOverByTheUser) {
    writeFile(home.allUsersFile(2), R"({"ECSDir": "/srv/ECS/", "MidiBank": "N", "5": 12})");
    writeFile(home.allUsersFile(1), R"({"MidiBank": "Y"})");
    EXPECT_EQ(loadString("ECSDir"), "/srv/ECS/");
    EXPECT_TRUE(getRegistryIsOn("MidiBank", false));  // the first folder wins
    EXPECT_EQ(userObject(), Json({{"ECSDir", "/srv/ECS/"}, {"MidiBank", "Y"}}));
    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/home/me/ECS/"));
    EXPECT_EQ(loadString("ECSDir"), "/home/me/ECS/");
    EXPECT_EQ(loadIntFromPrefs("5"), 0);  // numbers are per user only
}

TEST_F(Preferences, SnapshotFollowsOwnWritesAtOnceAndOthersOnRefresh) {
    PreferenceSnapshot snapshot;
    EXPECT_TRUE(snapshot.muteReverse());  // on by default
    ASSERT_TRUE(saveStringToPrefs("MuteReverse", "N"));
    EXPECT_FALSE(snapshot.muteReverse());
    PreferenceSnapshot later;
    EXPECT_FALSE(later.muteReverse());

    writeFile(home.userFile(), R"({"MuteReverse": "Y"})");  // another process
    snapshot.refreshIfDue();  // just refreshed: not due yet
    EXPECT_FALSE(snapshot.muteReverse());
    snapshot.refresh();
    EXPECT_TRUE(snapshot.muteReverse());
    ASSERT_TRUE(saveStringToPrefs("MuteReverse", "no"));  // not a flag: the default
    EXPECT_TRUE(later.muteReverse());
}
