#include "platform/DialogBackend.h"
#include "platform/Dialogs.h"
#include "platform/Locations.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

namespace {

// Replies handed out in order (nothing left: cancelled); every request is logged.
struct ScriptedDialogs final : DialogBackend {
    std::deque<std::optional<std::string>> replies;
    std::vector<std::string> log;

    std::optional<std::string> answer(const std::string& request) {
        log.push_back(request);
        if (replies.empty()) return std::nullopt;
        auto reply = replies.front();
        replies.pop_front();
        return reply;
    }
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override {
        return answer("input " + title + "|" + prompt + "|" + initial);
    }
    void showMessage(const std::string& title, const std::string& text) override {
        log.push_back("ok " + title + "|" + text);
    }
    bool askOkCancel(const std::string& title, const std::string& text) override {
        return answer("okcancel " + title + "|" + text).has_value();
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& r) override {
        std::string extensions;
        for (const auto& extension : r.extensions) extensions += " *." + extension;
        return answer((r.save ? "save " : "load ") + r.title + "|" + r.folder + "|" + r.proposedName + extensions);
    }
};

class Dialogs : public ::testing::Test {
protected:
    ScriptedDialogs script;
    char folder[kPathBytes] = "/old/";
    char path[kPathBytes] = "";
    void SetUp() override { setDialogBackend(&script); }
    void TearDown() override { setDialogBackend(nullptr); }
};

}  // namespace

TEST_F(Dialogs, InputAndMessageWindows) {
    char text[kInputBoxBytes] = "64";
    script.replies = {"100", std::nullopt, std::string(kInputBoxBytes, '9'), "", std::nullopt};
    inputBox("Midi CC : LFO Speed", "Midi CC (0 - 127)", text, sizeof text);
    EXPECT_STREQ(text, "100");
    inputBox("p", "t", text, sizeof text);  // cancelled with text in the field
    EXPECT_STREQ(text, "");
    std::strcpy(text, "5");
    inputBox("p", "t", text, sizeof text);  // reply does not fit: no entry
    EXPECT_STREQ(text, "");
    EXPECT_EQ(messageBoxCancel("Sure?"), 1);
    EXPECT_EQ(messageBoxCancel("Sure?"), 2);
    messageBox("Problem with ECS File", 2);
    messageBox("Sure?", 1);
    EXPECT_EQ(script.log, (std::vector<std::string>{
                              "input Midi CC (0 - 127)|Midi CC : LFO Speed|64", "input t|p|100", "input t|p|5",
                              "okcancel Tidewalker|Sure?", "okcancel Tidewalker|Sure?",
                              "ok Tidewalker|Problem with ECS File", "okcancel Tidewalker|Sure?"}));
}

TEST_F(Dialogs, LoadKeepsTheFolderSlashSaveAddsTheExtension) {
    script.replies = {"/home/me/ECS/live.ecs", "/x.y/a.b.txt"};
    ASSERT_TRUE(fileSelectLoadDir("ECS Loader", "/home/me/ECS/", "Load", kEcsFileFilter, folder, path));
    EXPECT_STREQ(path, "/home/me/ECS/live.ecs");
    EXPECT_STREQ(folder, "/home/me/ECS/");
    ASSERT_TRUE(fileSelectSaveDir("ECS Save", "/x/", "Save", kProposedEcsFileName, folder, path));
    EXPECT_STREQ(path, "/x.y/a.ecs");
    EXPECT_STREQ(folder, "/x.y");
    EXPECT_EQ(script.log, (std::vector<std::string>{"load ECS Loader|/home/me/ECS/| *.ecs",
                                                    "save ECS Save|/x/|Reverse.ecs"}));
}

TEST_F(Dialogs, NothingChosenOrAPathTooLongLeavesTheBuffersAlone) {
    script.replies = {"/" + std::string(kPathBytes, 'a'), "/x/dir/",
                      "/" + std::string(kPathBytes - 4, 'a')};  // fits as typed, not with ".ecs"
    EXPECT_FALSE(fileSelectLoadDir("t", "", "Load", "*.ecs", folder, path));
    EXPECT_FALSE(fileSelectSaveDir("t", "", "Save", kProposedEcsFileName, folder, path));
    EXPECT_FALSE(fileSelectSaveDir("t", "", "Save", kProposedEcsFileName, folder, path));
    EXPECT_STREQ(folder, "/old/");
    EXPECT_STREQ(path, "");
}

// The platform's own backend, with a fake zenity first on PATH that records
// its arguments one per line, prints a reply and exits with a status.
class ZenityBackend : public ::testing::Test {
protected:
    TempDir bin;
    std::filesystem::path arguments = bin.path / "arguments";
    ScopedEnv path{"PATH", bin.str() + ":/usr/bin:/bin"};
    char text[kInputBoxBytes] = "it's \"$HOME\"";
    char folder[kPathBytes] = "/old/";
    char file[kPathBytes] = "";

    void fakeZenity(const std::string& reply, int status) {
        writeFile(bin.path / "zenity",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + arguments.string() +
                      "'\nprintf '%s' '" + reply + "'\nexit " + std::to_string(status) + "\n",
                  true);
    }
};

TEST_F(ZenityBackend, TextsGoAsArgumentsAndRepliesComeBack) {
    fakeZenity("42\n", 0);
    inputBox("1 [Sine] to 6 [S&H] in_out\\n", "Midi CC (0 - 127)", text, sizeof text);
    EXPECT_STREQ(text, "42");
    EXPECT_EQ(readFile(arguments), "--entry\n--title=Midi CC (0 - 127)\n--text=1 [Sine] to 6 [S&H] in__out\\\\n\n"
                                   "--entry-text=it's \"$HOME\"\n");
    fakeZenity("typed but cancelled\n", 1);
    inputBox("p", "t", text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(messageBoxCancel("Go?"), 2);

    fakeZenity("/home/me/ECS/setup\n", 0);
    ASSERT_TRUE(fileSelectSaveDir("ECS Save", "/home/me/ECS/", "Save", "Reverse.ecs", folder, file));
    EXPECT_STREQ(file, "/home/me/ECS/setup.ecs");
    EXPECT_EQ(readFile(arguments),
              "--file-selection\n--title=ECS Save\n--save\n--confirm-overwrite\n--filename=/home/me/ECS/Reverse.ecs\n");
    ASSERT_TRUE(fileSelectLoadDir("ECS Loader", "/home/me/ECS", "Load", "*.txt;*.ecs", folder, file));
    EXPECT_EQ(readFile(arguments), "--file-selection\n--title=ECS Loader\n--filename=/home/me/ECS/\n"
                                   "--file-filter=ecs | *.ecs\n--file-filter=txt | *.txt\n");
}

TEST_F(ZenityBackend, WithoutZenityEveryDialogIsCancelled) {
    ScopedEnv noZenity("PATH", bin.str());
    inputBox("p", "t", text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(messageBoxCancel("Go?"), 2);
    EXPECT_FALSE(fileSelectSaveDir("t", "/", "Save", "Reverse.ecs", folder, file));
    EXPECT_STREQ(file, "");
}
