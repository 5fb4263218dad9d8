#include "platform/FilePaths.h"
#include "platform/Locations.h"
#include "platform/TextHelpers.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string applied(void (*helper)(char*) noexcept, const char* in)
{
    char text[kTextHelperBytes];
    std::strcpy(text, in);
    helper(text);
    return text;
}

}  // namespace

TEST(TextHelpers, WorkOnBytesAsUnsignedCharacters)
{
    EXPECT_EQ(applied(upperCase, "Maschine Host"), "MASCHINE HOST");
    // Latin-1 and UTF-8 bytes are neither upper-cased nor taken for controls.
    EXPECT_EQ(applied(upperCase, "a\xe4\xc3\xa9z\x80\xff"), "A\xe4\xc3\xa9Z\x80\xff");
    EXPECT_EQ(applied(upperCase, ""), "");

    EXPECT_EQ(applied(stripAllButNum, "-12.5 dB"), "-12.5");
    EXPECT_EQ(applied(stripAllButNum, "On"), "");
    EXPECT_EQ(applied(stripAllButNum, "+1e3"), "+13");
    EXPECT_EQ(applied(stripAllButNum, "\xb1" "3\xa0" "4"), "34");

    EXPECT_EQ(applied(safename, "abcdefghijklmnopqrstuvwxyz0123"), "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(applied(safename, "ab\ncd"), "ab");
    EXPECT_EQ(applied(safename, "Caf\xe9 \xc3\xa9t\xe9"), "Caf\xe9 \xc3\xa9t\xe9");

    char text[300];
    std::memset(text, 'x', sizeof text);
    itoa(12345, text, 3);
    EXPECT_STREQ(text, "123");
    itoa(-42, text, 0);
    EXPECT_STREQ(text, "-");
    itoa(-2147483647 - 1, text, 1000);
    EXPECT_STREQ(text, "-2147483648");
    EXPECT_EQ(text[256], 'x');
}

TEST(FilePaths, PathsThatDoNotFitAreRefusedNotCut)
{
    char buffer[kPathBytes] = "/unchanged";
    EXPECT_FALSE(copyPath(buffer, std::string(kPathBytes, 'a')));
    EXPECT_FALSE(copyPath(buffer, std::string("/a\0b", 4)));
    EXPECT_STREQ(buffer, "/unchanged");
    EXPECT_TRUE(copyPath(buffer, std::string(kPathBytes - 1, 'a')));
    EXPECT_EQ(std::strlen(buffer), kPathBytes - 1);
}

TEST(FilePaths, SaveExtensionAndOpenFilterRules)
{
    EXPECT_EQ(withProposedExtension("/x/setup", "Reverse.ecs"), "/x/setup.ecs");
    EXPECT_EQ(withProposedExtension("/x/setup.txt", "Reverse.ecs"), "/x/setup.ecs");
    EXPECT_EQ(withProposedExtension("/x/a.b.txt", "Reverse.ecs"), "/x/a.ecs");
    EXPECT_EQ(withProposedExtension("/my.folder/setup", "Reverse.ecs"), "/my.folder/setup.ecs");
    EXPECT_EQ(withProposedExtension("/x/setup.txt", "Reverse.json"), "/x/setup.txt");
    EXPECT_EQ(withProposedExtension("/x/setup.txt", "Reverse"), "/x/setup.txt");

    EXPECT_EQ(filterExtensions("*.ecs"), (std::vector<std::string>{"ecs"}));
    EXPECT_EQ(filterExtensions("*.ecs;*.txt"), (std::vector<std::string>{"ecs", "txt"}));
    EXPECT_EQ(filterExtensions("*.tar.gz;*;*."), (std::vector<std::string>{"tar.gz"}));
}

TEST(Locations, FollowXdgFoldersAndRefuseOverlongOnes)
{
    IsolatedHome home;
    char buffer[kPathBytes] = "";
    ASSERT_TRUE(getDefaultEcsDirectory(buffer));
    EXPECT_EQ(std::string(buffer), home.root.str() + "/data/Ola Marsk/Tidewalker/ECS/");
    ASSERT_TRUE(getHelpFilePath(buffer));
    EXPECT_TRUE(std::string(buffer).ends_with("/share/doc/tidewalker/Tidewalker_Manual.pdf")) << buffer;
    ScopedEnv deep("XDG_DATA_HOME", "/" + std::string(kFolderPathMaxChars, 'd'));
    EXPECT_FALSE(getDefaultEcsDirectory(buffer));
}
