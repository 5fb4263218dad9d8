// ECS files: what the reader accepts and refuses, and the Load ECS and
// Save ECS commands around it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Preferences.h"
#include "plugin/EcsFile.h"
#include "tests/midi/MidiTestSupport.h"

namespace {

std::string ecsText(const ControllerAssignments& map, const char* lineEnd = "\n") {
    std::string text;
    for (VstInt32 index : map) text += std::to_string(index) + lineEnd;
    return text;
}

ControllerAssignments sampleMap() {
    ControllerAssignments map{};
    map[1] = 25;
    map[7] = 3;
    map[64] = 800;
    map[127] = 11;
    return map;
}

bool parses(const std::string& text, ControllerAssignments* out = nullptr) {
    ControllerAssignments map{};
    map.fill(-1);
    const bool ok = parseEcsText(text.data(), text.size(), map);
    if (!ok) {
        EXPECT_EQ(map[0], -1) << "a refused text must leave the map alone";
    }
    if (out) *out = map;
    return ok;
}

TEST(EcsReader, AcceptsTheLayoutWithAnyWhiteSpace) {
    const ControllerAssignments expected = sampleMap();
    ControllerAssignments map{};
    std::string text = ecsText(expected);
    EXPECT_TRUE(parses(text, &map));
    EXPECT_EQ(map, expected);

    EXPECT_TRUE(parses(text + "\n\n\n"));                           // trailing empty lines
    EXPECT_TRUE(parses(text.substr(0, text.size() - 1)));           // no final line feed
    EXPECT_TRUE(parses(ecsText(expected, "\r\n"), &map));           // CRLF
    EXPECT_EQ(map, expected);
    EXPECT_TRUE(parses(" \t" + ecsText(expected, " \v\f\n") + std::string(100000, ' ')));
    EXPECT_TRUE(parses("+0\n-0\n000000000000000000000000000000000800\n" + ecsText(ControllerAssignments{}).substr(6),
                       &map));
    EXPECT_EQ(map[2], 800);
}

TEST(EcsReader, RefusesEverythingElse) {
    const std::string good = ecsText(sampleMap());
    const std::string firstLine = "0\n";
    const std::string rest = good.substr(firstLine.size());  // lines 2..128
    const std::string cases[] = {
        good.substr(0, good.size() - 3),      // 127 lines
        good + "0\n",                         // 129 lines
        "801\n" + rest,  "-1\n" + rest,  "abc\n" + rest,  "5abc\n" + rest,  "1-2\n" + rest,
        "-\n" + rest,    "+\n" + rest,   "0x10\n" + rest, "2.5\n" + rest,
        "4294967297\n" + rest,                // wraps to 1 in 32 bits
        "99999999999999999999999999999\n" + rest,
        "1" + std::string(40, '0') + "\n" + rest,
        std::string("0\0\n", 3) + rest,       // NUL after a number
        good + std::string(1, '\0'),          // NUL after the last one
        good + "x",
        "",
        std::string(3 << 20, '7'),            // megabytes of digits
        std::string(3 << 20, '\xff'),         // megabytes of garbage
    };
    for (const std::string& text : cases) EXPECT_FALSE(parses(text)) << text.substr(0, 40);
}

TEST(EcsReader, ResultDoesNotDependOnHowTheTextIsCut) {
    const std::string texts[] = {ecsText(sampleMap(), "\r\n"), "801" + ecsText(sampleMap()).substr(1)};
    for (const std::string& text : texts) {
        ControllerAssignments whole{};
        const bool wholeOk = parseEcsText(text.data(), text.size(), whole);
        EcsReader reader;
        for (char c : text) reader.feed(&c, 1);
        EXPECT_EQ(reader.finish(), wholeOk);
        if (wholeOk) {
            EXPECT_EQ(reader.values(), whole);
        }
    }
}

class EcsCommands : public ::testing::Test {
protected:
    IsolatedHome home;
    ScriptedDialogs dialogs;
    TempDir files;

    std::string path(const char* name) const { return (files.path / name).string(); }

    void load(MidiPlugin& plugin, const std::string& text) {
        writeFile(path("in.ecs"), text);
        dialogs.files = {path("in.ecs")};
        plugin.LoadECS();
    }
};

TEST_F(EcsCommands, LoadAssignsAndStoresTheWholeMap) {
    MidiPlugin plugin;
    load(plugin, ecsText(sampleMap(), "\r\n"));

    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const FileDialogRequest& request = dialogs.fileRequests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, "ECS Loader");
    EXPECT_EQ(request.button, "Load");
    EXPECT_EQ(request.extensions, std::vector<std::string>{"ecs"});
    EXPECT_FALSE(request.folder.empty());
    EXPECT_TRUE(dialogs.messages.empty());

    const ControllerAssignments expected = sampleMap();
    EXPECT_EQ(controllerMap(plugin), std::vector<VstInt32>(expected.begin(), expected.end()));
    EXPECT_EQ(MidiPlugin().getControllerAssignment(64), 800);
}

TEST_F(EcsCommands, ARefusedOrMissingFileChangesNothingAndSaysSo) {
    ASSERT_TRUE(setMidiCC(9, Param::Mute));
    MidiPlugin plugin;
    load(plugin, "801\n" + ecsText(sampleMap()).substr(2));
    dialogs.files = {path("missing.ecs")};
    plugin.LoadECS();
    std::filesystem::create_directory(path("folder.ecs"));
    dialogs.files = {path("folder.ecs")};
    plugin.LoadECS();

    EXPECT_EQ(dialogs.messages, std::vector<std::string>(3, "Tidewalker|Problem with ECS File"));
    std::vector<VstInt32> expected(128, 0);
    expected[9] = Param::Mute;
    EXPECT_EQ(controllerMap(plugin), expected);
    EXPECT_EQ(getMidiCC(9), Param::Mute);
    EXPECT_EQ(getMidiCC(7), 0);

    // Cancelling the dialog is no error.
    dialogs.files = {std::nullopt};
    plugin.LoadECS();
    EXPECT_EQ(dialogs.messages.size(), 3u);
}

TEST_F(EcsCommands, LargeFilesAreReadInPiecesWithTheSameRules) {
    MidiPlugin plugin;
    std::string padded;
    for (VstInt32 index : sampleMap()) padded += std::string(5000, ' ') + std::to_string(index) + "\r\n";
    load(plugin, padded + std::string(5 << 20, '\n'));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(plugin.getControllerAssignment(64), 800);

    load(plugin, std::string(5 << 20, '\0'));
    load(plugin, padded + std::string(5 << 20, ' ') + "1");
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(plugin.getControllerAssignment(64), 800);
}

TEST_F(EcsCommands, SaveWritesOneLinePerControllerAndLoadsBackExactly) {
    ControllerAssignments expected;
    std::vector<IntPreference> stored;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) {
        expected[cc] = (cc * 37) % 801;
        stored.push_back({midiControllerKey(cc), expected[cc]});
    }
    ASSERT_TRUE(saveIntsToPrefs(stored));
    MidiPlugin saver;
    dialogs.files = {path("setup")};
    saver.SaveECS();

    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.fileRequests[0].save);
    EXPECT_EQ(dialogs.fileRequests[0].title, "ECS Save");
    EXPECT_EQ(dialogs.fileRequests[0].button, "Save");
    EXPECT_EQ(dialogs.fileRequests[0].proposedName, "Reverse.ecs");
    EXPECT_EQ(readFile(path("setup.ecs")), ecsText(expected));
    EXPECT_FALSE(std::filesystem::exists(path("setup.ecs.part")));

    MidiPlugin loader;
    loader.resetMidi();
    dialogs.files = {path("setup.ecs")};
    loader.LoadECS();
    EXPECT_EQ(controllerMap(loader), controllerMap(saver));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EcsCommands, AFailedSaveSaysSoAndLeavesNoFileBehind) {
    MidiPlugin plugin;
    dialogs.files = {path("no/such/folder/x.ecs")};
    plugin.SaveECS();
    std::filesystem::create_directory(path("taken.ecs"));  // rename onto a folder fails
    dialogs.files = {path("taken.ecs")};
    plugin.SaveECS();

    EXPECT_EQ(dialogs.messages, std::vector<std::string>(2, "Tidewalker|Problem with ECS File"));
    EXPECT_TRUE(std::filesystem::is_directory(path("taken.ecs")));
    EXPECT_FALSE(std::filesystem::exists(path("taken.ecs.part")));
}

}  // namespace
