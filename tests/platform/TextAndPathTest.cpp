#include "platform/FilePaths.h"
#include "platform/Locations.h"
#include "platform/TextHelpers.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(TextHelpers, UpperCaseTouchesOnlyAsciiLetters)
{
    char host[] = "Maschine Host";
    upperCase(host);
    EXPECT_STREQ(host, "MASCHINE HOST");

    // Latin-1 and UTF-8 bytes stay as they are, whatever their sign as char.
    char bytes[] = "a\xe4\xc3\xa9z\x80\xff";
    upperCase(bytes);
    EXPECT_STREQ(bytes, "A\xe4\xc3\xa9Z\x80\xff");

    char empty[] = "";
    upperCase(empty);
    EXPECT_STREQ(empty, "");
}

TEST(TextHelpers, UpperCaseStopsAtTheBufferEvenWithoutTerminator)
{
    char text[kTextHelperBytes + 8];
    std::memset(text, 'a', sizeof text);
    upperCase(text);
    EXPECT_EQ(text[kTextHelperBytes - 2], 'A');
    EXPECT_EQ(text[kTextHelperBytes - 1], 'a');
}

TEST(TextHelpers, StripAllButNumKeepsSignsDigitsAndPoints)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"-12.5 dB", "-12.5"}, {"On", ""}, {"abc", ""}, {"+1e3", "+13"}, {"\xb1" "3\xa0" "4", "34"}};
    for (const Case& c : cases) {
        char text[32];
        std::strcpy(text, c.in);
        stripAllButNum(text);
        EXPECT_STREQ(text, c.out) << c.in;
    }
}

TEST(TextHelpers, SafenameCutsAt24OrAtAControlCharacter)
{
    char longName[] = "abcdefghijklmnopqrstuvwxyz0123";
    safename(longName);
    EXPECT_STREQ(longName, "abcdefghijklmnopqrstuvwx");

    char withNewline[] = "ab\ncd";
    safename(withNewline);
    EXPECT_STREQ(withNewline, "ab");

    // High bytes are characters, not controls.
    char accented[] = "Caf\xe9 \xc3\xa9t\xe9";
    safename(accented);
    EXPECT_STREQ(accented, "Caf\xe9 \xc3\xa9t\xe9");
}

TEST(TextHelpers, ItoaCutsToMaxLength)
{
    char text[300];
    itoa(12345, text, 3);
    EXPECT_STREQ(text, "123");
    itoa(-42, text, 0);
    EXPECT_STREQ(text, "-");
    itoa(-2147483647 - 1, text, 255);
    EXPECT_STREQ(text, "-2147483648");

    std::memset(text, 'x', sizeof text);
    itoa(7, text, 1000);
    EXPECT_STREQ(text, "7");
    itoa(123456789, text, 1000);
    EXPECT_EQ(text[256], 'x');  // never more than 255 characters and a terminator
}

TEST(FilePaths, CopyPathRefusesWhatDoesNotFit)
{
    char buffer[kPathBytes] = "/unchanged";
    const std::string longest(kPathBytes - 1, 'a');
    EXPECT_TRUE(copyPath(buffer, longest));
    EXPECT_EQ(std::string(buffer), longest);

    std::strcpy(buffer, "/unchanged");
    EXPECT_FALSE(copyPath(buffer, std::string(kPathBytes, 'a')));
    EXPECT_STREQ(buffer, "/unchanged");
    EXPECT_FALSE(copyPath(buffer, std::string("/a\0b", 4)));
    EXPECT_STREQ(buffer, "/unchanged");
}

TEST(FilePaths, NameAndFolderSplitAtTheLastSlash)
{
    EXPECT_EQ(getFileNameOnly("/a/b.c/setup.ecs"), "setup.ecs");
    EXPECT_EQ(getFileNameOnly("setup.ecs"), "setup.ecs");
    EXPECT_EQ(getFileNameOnly("/a/"), "");
    EXPECT_EQ(getFolderOnly("/a/b.c/setup.ecs"), "/a/b.c/");
    EXPECT_EQ(getFolderOnly("setup.ecs"), "");
}

TEST(FilePaths, ProposedExtensionRenamesOnlyTheFileName)
{
    EXPECT_EQ(withProposedExtension("/x/setup", "Reverse.ecs"), "/x/setup.ecs");
    EXPECT_EQ(withProposedExtension("/x/setup.txt", "Reverse.ecs"), "/x/setup.ecs");
    EXPECT_EQ(withProposedExtension("/x/a.b.txt", "Reverse.ecs"), "/x/a.ecs");
    // Dots in folder names are not the file's extension.
    EXPECT_EQ(withProposedExtension("/my.folder/setup", "Reverse.ecs"), "/my.folder/setup.ecs");
    // Only four-character extensions (".ecs") rename.
    EXPECT_EQ(withProposedExtension("/x/setup.txt", "Reverse.json"), "/x/setup.txt");
    EXPECT_EQ(withProposedExtension("/x/setup.txt", "Reverse"), "/x/setup.txt");
}

TEST(FilePaths, FilterGivesTheTextAfterEachDot)
{
    EXPECT_EQ(filterExtensions("*.ecs"), (std::vector<std::string>{"ecs"}));
    EXPECT_EQ(filterExtensions("*.ecs;*.txt"), (std::vector<std::string>{"ecs", "txt"}));
    EXPECT_EQ(filterExtensions("*.tar.gz;*;*."), (std::vector<std::string>{"tar.gz"}));
    EXPECT_TRUE(filterExtensions("").empty());
}

TEST(Locations, FollowTheXdgFoldersAndTheInstallPrefix)
{
    IsolatedHome home;
    char buffer[kPathBytes] = "";
    ASSERT_TRUE(getDefaultEcsDirectory(buffer));
    EXPECT_EQ(std::string(buffer), home.root.str() + "/data/Ola Marsk/Tidewalker/ECS/");

    ASSERT_TRUE(getHelpFilePath(buffer));
    EXPECT_TRUE(std::string(buffer).ends_with("/share/doc/tidewalker/Tidewalker_Manual.pdf")) << buffer;

    EXPECT_EQ(userPreferencesFolder(), home.root.str() + "/config/com.ktlm.tidewalker");
    EXPECT_EQ(allUsersPreferencesFolders(), (std::vector<std::string>{home.root.str() + "/etc1/com.ktlm.tidewalker",
                                                                      home.root.str() + "/etc2/com.ktlm.tidewalker"}));
}

TEST(Locations, FallBackToTheHomeFolderAndRefuseOverlongFolders)
{
    IsolatedHome home;
    {
        ScopedEnv relative("XDG_DATA_HOME", "relative/data");  // not absolute: ignored
        char buffer[kPathBytes] = "";
        ASSERT_TRUE(getDefaultEcsDirectory(buffer));
        EXPECT_EQ(std::string(buffer), home.root.str() + "/home/.local/share/Ola Marsk/Tidewalker/ECS/");
    }
    {
        ScopedEnv deep("XDG_DATA_HOME", "/" + std::string(kFolderPathMaxChars, 'd'));
        char buffer[kPathBytes] = "/unchanged";
        EXPECT_FALSE(getDefaultEcsDirectory(buffer));
        EXPECT_STREQ(buffer, "/unchanged");
    }
    ScopedEnv unset("XDG_CONFIG_DIRS", "");
    EXPECT_EQ(allUsersPreferencesFolders(), (std::vector<std::string>{"/etc/xdg/com.ktlm.tidewalker"}));
}
