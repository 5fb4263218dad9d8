#include "platform/DialogBackend.h"
#include "platform/Dialogs.h"
#include "platform/Locations.h"
#include "platform/ZenityDialogs.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <deque>

namespace {

// Replies handed out in order; every request is recorded.
class ScriptedDialogs final : public DialogBackend {
public:
    std::deque<std::optional<std::string>> textReplies;
    std::deque<bool> okReplies;
    std::deque<std::optional<std::string>> fileReplies;

    std::vector<std::string> shown;  // "title|text" of every message window
    std::vector<std::string> asked;  // "title|prompt|initial" of every input window
    std::vector<FileDialogRequest> fileRequests;

    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& initialText) override
    {
        asked.push_back(title + "|" + prompt + "|" + initialText);
        return next(textReplies, std::optional<std::string>{});
    }
    void showMessage(const std::string& title, const std::string& text) override
    {
        shown.push_back(title + "|" + text);
    }
    bool askOkCancel(const std::string& title, const std::string& text) override
    {
        shown.push_back(title + "|" + text + "|?");
        return next(okReplies, false);
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        return next(fileReplies, std::optional<std::string>{});
    }

private:
    template <typename T>
    static T next(std::deque<T>& replies, T whenEmpty)
    {
        if (replies.empty()) return whenEmpty;
        T reply = replies.front();
        replies.pop_front();
        return reply;
    }
};

class Dialogs : public ::testing::Test {
protected:
    ScriptedDialogs script;
    void SetUp() override { setDialogBackend(&script); }
    void TearDown() override { setDialogBackend(nullptr); }
};

}  // namespace

TEST_F(Dialogs, InputBoxReplyCancelAndOverlongReply)
{
    char text[kInputBoxBytes] = "64";
    script.textReplies = {std::string("100"), std::nullopt, std::string(kInputBoxBytes, '9')};

    inputBox("Midi CC : LFO Speed", "Midi CC (0 - 127)", text, sizeof text);
    EXPECT_STREQ(text, "100");
    EXPECT_EQ(script.asked.back(), "Midi CC (0 - 127)|Midi CC : LFO Speed|64");

    inputBox("prompt", "title", text, sizeof text);  // cancelled with text in the field
    EXPECT_STREQ(text, "");

    std::strcpy(text, "5");
    inputBox("prompt", "title", text, sizeof text);  // reply does not fit: no entry
    EXPECT_STREQ(text, "");
}

TEST_F(Dialogs, MessageWindowsAreTitledWithTheProductAndAnswerOneOrTwo)
{
    script.okReplies = {true, false, true};
    EXPECT_EQ(messageBoxCancel("Reset everything?"), 1);
    EXPECT_EQ(messageBoxCancel("Reset everything?"), 2);
    messageBox("Problem with ECS File", 2);
    messageBox("Sure?", 1);
    EXPECT_EQ(script.shown, (std::vector<std::string>{"Tidewalker|Reset everything?|?", "Tidewalker|Reset everything?|?",
                                                      "Tidewalker|Problem with ECS File", "Tidewalker|Sure?|?"}));
}

TEST_F(Dialogs, LoadDialogSetsPathAndFolderWithSlash)
{
    char folder[kPathBytes] = "/old/";
    char path[kPathBytes] = "";
    script.fileReplies = {std::string("/home/me/ECS/live.ecs")};
    ASSERT_TRUE(fileSelectLoadDir("ECS Loader", "/home/me/ECS/", "Load", kEcsFileFilter, folder, path));
    EXPECT_STREQ(path, "/home/me/ECS/live.ecs");
    EXPECT_STREQ(folder, "/home/me/ECS/");

    const FileDialogRequest& request = script.fileRequests.back();
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, "ECS Loader");
    EXPECT_EQ(request.button, "Load");
    EXPECT_EQ(request.extensions, (std::vector<std::string>{"ecs"}));
}

TEST_F(Dialogs, NothingChosenOrAPathTooLongLeavesTheBuffersAlone)
{
    char folder[kPathBytes] = "/old/";
    char path[kPathBytes] = "";
    script.fileReplies = {std::nullopt, std::string(""), "/" + std::string(kPathBytes, 'a'),
                          "/" + std::string(kPathBytes - 4, 'a')};
    EXPECT_FALSE(fileSelectLoadDir("t", "", "Load", "*.ecs", folder, path));
    EXPECT_FALSE(fileSelectLoadDir("t", "", "Load", "*.ecs", folder, path));
    EXPECT_FALSE(fileSelectLoadDir("t", "", "Load", "*.ecs", folder, path));
    // Fits as typed, but not once ".ecs" is added.
    EXPECT_FALSE(fileSelectSaveDir("t", "", "Save", kProposedEcsFileName, folder, path));
    EXPECT_STREQ(folder, "/old/");
    EXPECT_STREQ(path, "");
}

TEST_F(Dialogs, SaveDialogGivesTheProposedExtensionAndFolderWithoutSlash)
{
    char folder[kPathBytes] = "";
    char path[kPathBytes] = "";
    script.fileReplies = {std::string("/x/setup"), std::string("/x/setup.txt"), std::string("/x.y/a.b.txt"),
                          std::string("/x/dir/")};
    ASSERT_TRUE(fileSelectSaveDir("ECS Save", "/x/", "Save", kProposedEcsFileName, folder, path));
    EXPECT_STREQ(path, "/x/setup.ecs");
    EXPECT_STREQ(folder, "/x");
    ASSERT_TRUE(fileSelectSaveDir("ECS Save", "/x/", "Save", kProposedEcsFileName, folder, path));
    EXPECT_STREQ(path, "/x/setup.ecs");
    ASSERT_TRUE(fileSelectSaveDir("ECS Save", "/x/", "Save", kProposedEcsFileName, folder, path));
    EXPECT_STREQ(path, "/x.y/a.ecs");
    EXPECT_STREQ(folder, "/x.y");
    EXPECT_FALSE(fileSelectSaveDir("ECS Save", "/x/", "Save", kProposedEcsFileName, folder, path));  // a folder
    EXPECT_STREQ(path, "/x.y/a.ecs");

    const FileDialogRequest& request = script.fileRequests.front();
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.proposedName, "Reverse.ecs");
    EXPECT_EQ(request.folder, "/x/");
}

// The platform backend, with a fake zenity first on PATH.
class ZenityBackend : public ::testing::Test {
protected:
    TempDir bin;
    std::filesystem::path arguments = bin.path() / "arguments";
    ScopedEnv path{"PATH", bin.str() + ":/usr/bin:/bin"};

    // The fake prints reply and exits with status; it records its arguments
    // one per line.
    void fakeZenity(const std::string& reply, int status)
    {
        const auto script = bin.path() / "zenity";
        writeFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + arguments.string() +
                              "'\nprintf '%s' '" + reply + "'\nexit " + std::to_string(status) + "\n");
        ::chmod(script.c_str(), 0755);
    }
};

TEST_F(ZenityBackend, TextInputPassesTextsAsArgumentsAndReadsTheReply)
{
    fakeZenity("42\n", 0);
    char text[kInputBoxBytes] = "it's \"$HOME\"";
    inputBox("Midi CC : Wet Volume", "Midi CC (0 - 127)", text, sizeof text);
    EXPECT_STREQ(text, "42");
    EXPECT_EQ(readFile(arguments), "--entry\n--title=Midi CC (0 - 127)\n--text=Midi CC : Wet Volume\n"
                                   "--entry-text=it's \"$HOME\"\n");

    fakeZenity("typed but cancelled\n", 1);
    inputBox("p", "t", text, sizeof text);
    EXPECT_STREQ(text, "");
}

TEST_F(ZenityBackend, QuestionAndFileDialogs)
{
    fakeZenity("", 0);
    EXPECT_EQ(messageBoxCancel("Go?"), 1);
    EXPECT_NE(readFile(arguments).find("--question\n--no-markup\n--title=Tidewalker\n--text=Go?\n"), std::string::npos);
    fakeZenity("", 1);
    EXPECT_EQ(messageBoxCancel("Go?"), 2);

    fakeZenity("/home/me/ECS/setup\n", 0);
    char folder[kPathBytes] = "";
    char path[kPathBytes] = "";
    ASSERT_TRUE(fileSelectSaveDir("ECS Save", "/home/me/ECS/", "Save", "Reverse.ecs", folder, path));
    EXPECT_STREQ(path, "/home/me/ECS/setup.ecs");
    EXPECT_EQ(readFile(arguments), "--file-selection\n--title=ECS Save\n--save\n--confirm-overwrite\n"
                                   "--filename=/home/me/ECS/Reverse.ecs\n");

    fakeZenity("/home/me/ECS/live.ecs\n", 0);
    ASSERT_TRUE(fileSelectLoadDir("ECS Loader", "/home/me/ECS", "Load", "*.txt;*.ecs", folder, path));
    EXPECT_STREQ(path, "/home/me/ECS/live.ecs");
    EXPECT_EQ(readFile(arguments), "--file-selection\n--title=ECS Loader\n--filename=/home/me/ECS/\n"
                                   "--file-filter=ecs | *.ecs\n--file-filter=txt | *.txt\n");
}

TEST_F(ZenityBackend, WithoutZenityEveryDialogIsCancelled)
{
    TempDir empty;
    ScopedEnv noZenity("PATH", empty.str());
    char text[kInputBoxBytes] = "default";
    inputBox("p", "t", text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(messageBoxCancel("Go?"), 2);
    messageBox("Problem with ECS File", 2);  // returns at once

    char folder[kPathBytes] = "/old/";
    char path[kPathBytes] = "";
    EXPECT_FALSE(fileSelectLoadDir("t", "/", "Load", "*.ecs", folder, path));
    EXPECT_FALSE(fileSelectSaveDir("t", "/", "Save", "Reverse.ecs", folder, path));
    EXPECT_STREQ(folder, "/old/");
    EXPECT_STREQ(path, "");
}
