// ECS files: what the reader accepts and refuses, and the Load ECS and
// Save ECS commands around it.
#include <filesystem>

#include "plugin/EcsFile.h"
#include "tests/plugin/PluginTestSupport.h"

namespace {

const std::string kProblem = "Tidewalker|Problem with ECS File";

// A map spread over the parameter numbers, and its file.
const ControllerAssignments kSample = [] {
    ControllerAssignments map{};
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) map[cc] = (cc * 37) % 801;
    return map;
}();

std::string ecsText(const char* lineEnd = "\n") {
    std::string text;
    for (VstInt32 index : kSample) text += std::to_string(index) + lineEnd;
    return text;
}

TEST(EcsReader, AcceptsTheLayoutWithAnyWhiteSpaceAndRefusesEverythingElse) {
    const std::string good = ecsText();
    const std::string rest = good.substr(2);  // lines 2..128 after "0\n"
    const std::string accepted[] = {
        good, good + "\n\n\n", good.substr(0, good.size() - 1), ecsText("\r\n"),
        " \t" + ecsText(" \v\f\n") + std::string(100000, ' '), "+0000000000000000000000000000000\n" + rest,
    };
    for (const std::string& text : accepted) {
        ControllerAssignments map{};
        EXPECT_TRUE(parseEcsText(text.data(), text.size(), map)) << text.substr(0, 40);
        EXPECT_EQ(map, kSample);
    }
    const std::string refused[] = {
        good.substr(0, good.size() - 4), good + "0\n", "801\n" + rest, "-1\n" + rest, "abc\n" + rest,
        "5abc\n" + rest, "-\n" + rest, "0x10\n" + rest, "2.5\n" + rest,
        "4294967296\n" + rest,  // 0 once wrapped to 32 bits
        "1" + std::string(40, '0') + "\n" + rest, std::string("0\0\n", 3) + rest, good + std::string(1, '\0'),
        "", std::string(3 << 20, '7'), std::string(3 << 20, '\xff'),
    };
    for (const std::string& text : refused) {
        ControllerAssignments map{};
        map.fill(-1);
        EXPECT_FALSE(parseEcsText(text.data(), text.size(), map)) << text.substr(0, 40);
        EXPECT_EQ(map[0], -1);
    }
}

class EcsCommands : public HomeTest {
protected:
    ScriptedDialogs dialogs;
    TempDir files;

    std::string path(const std::string& name) const { return (files.path / name).string(); }
    void load(TestPlugin& plugin, const std::string& text) {
        writeFile(path("in.ecs"), text);
        dialogs.files = {path("in.ecs")};
        plugin.LoadECS();
    }
};

TEST_F(EcsCommands, LoadTakesAWholeValidFileOrChangesNothing) {
    ASSERT_TRUE(setMidiCC(9, Param::Mute));
    TestPlugin plugin;
    const std::vector<VstInt32> before = plugin.map();
    load(plugin, "801\n" + ecsText().substr(2));
    load(plugin, std::string(5 << 20, '\0'));
    std::filesystem::create_directory(path("folder.ecs"));
    for (const char* name : {"missing.ecs", "folder.ecs"}) {
        dialogs.files = {path(name)};
        plugin.LoadECS();
    }
    dialogs.files = {std::nullopt};  // cancelled: no message
    plugin.LoadECS();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>(4, kProblem));
    EXPECT_EQ(plugin.map(), before);
    EXPECT_EQ(getMidiCC(9), Param::Mute);

    // Read in pieces: padding far beyond one piece changes nothing.
    load(plugin, std::string(5000, ' ') + ecsText("\r\n") + std::string(5 << 20, '\n'));
    EXPECT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(plugin.map(), std::vector<VstInt32>(kSample.begin(), kSample.end()));
    EXPECT_EQ(TestPlugin().map(), plugin.map());

    const FileDialogRequest& request = dialogs.requests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title + "|" + request.button, "ECS Loader|Load");
    EXPECT_EQ(request.extensions, std::vector<std::string>{"ecs"});
}

TEST_F(EcsCommands, SaveWritesEveryLineOrSaysItCouldNot) {
    TestPlugin plugin;
    load(plugin, ecsText());
    dialogs.files = {path("setup")};
    plugin.SaveECS();
    const FileDialogRequest& request = dialogs.requests.back();
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title + "|" + request.button + "|" + request.proposedName, "ECS Save|Save|Reverse.ecs");
    EXPECT_EQ(readFile(path("setup.ecs")), ecsText());

    std::filesystem::create_directory(path("taken.ecs"));  // rename onto a folder fails
    for (const char* name : {"no/such/folder/x.ecs", "taken.ecs"}) {
        dialogs.files = {path(name)};
        plugin.SaveECS();
    }
    EXPECT_EQ(dialogs.messages, std::vector<std::string>(2, kProblem));
    EXPECT_TRUE(std::filesystem::is_directory(path("taken.ecs")));
    for (const auto& entry : std::filesystem::directory_iterator(files.path))
        EXPECT_NE(entry.path().extension(), ".part");
}

}  // namespace
