#include "platform/FilePaths.h"
#include "platform/Locations.h"
#include "platform/TextHelpers.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(TextHelpers, WorkOnBytesAsUnsignedCharacters) {
    struct Case {
        void (*helper)(char*) noexcept;
        const char *in, *out;
    };
    // Latin-1 and UTF-8 bytes are neither upper-cased nor taken for controls or digits.
    for (auto [helper, in, out] : {Case{upperCase, "a\xe4\xc3\xa9z\x80\xff", "A\xe4\xc3\xa9Z\x80\xff"},
                                   Case{stripAllButNum, "-12.5 dB", "-12.5"}, Case{stripAllButNum, "+1e3", "+13"},
                                   Case{stripAllButNum, "\xb1" "3\xa0" "4", "34"},
                                   Case{safename, "abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvwx"},
                                   Case{safename, "ab\ncd", "ab"},
                                   Case{safename, "Caf\xe9 \xc3\xa9t\xe9", "Caf\xe9 \xc3\xa9t\xe9"}}) {
        char text[kTextHelperBytes];
        std::strcpy(text, in);
        helper(text);
        EXPECT_STREQ(text, out) << in;
    }
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

TEST(FilePaths, PathsThatDoNotFitAreRefusedNotCut) {
    char buffer[kPathBytes] = "/unchanged";
    EXPECT_FALSE(copyPath(buffer, std::string(kPathBytes, 'a')));
    EXPECT_FALSE(copyPath(buffer, std::string("/a\0b", 4)));
    EXPECT_STREQ(buffer, "/unchanged");
    EXPECT_TRUE(copyPath(buffer, std::string(kPathBytes - 1, 'a')));
    EXPECT_EQ(std::strlen(buffer), kPathBytes - 1);
}

TEST(FilePaths, SaveExtensionAndOpenFilterRules) {
    for (auto [typed, proposed, result] : {std::tuple{"/x/setup.txt", "Reverse.ecs", "/x/setup.ecs"},
                                           {"/x/a.b.txt", "Reverse.ecs", "/x/a.ecs"},
                                           {"/my.folder/setup", "Reverse.ecs", "/my.folder/setup.ecs"},
                                           {"/x/setup.txt", "Reverse.json", "/x/setup.txt"},
                                           {"/x/setup.txt", "Reverse", "/x/setup.txt"}})
        EXPECT_EQ(withProposedExtension(typed, proposed), result) << typed << " " << proposed;
    EXPECT_EQ(filterExtensions("*.ecs;*.txt"), (std::vector<std::string>{"ecs", "txt"}));
    EXPECT_EQ(filterExtensions("*.tar.gz;*;*."), (std::vector<std::string>{"tar.gz"}));
}

TEST(Locations, FollowXdgFoldersAndRefuseOverlongOnes) {
    IsolatedHome home;
    char buffer[kPathBytes] = "";
    ASSERT_TRUE(getDefaultEcsDirectory(buffer));
    EXPECT_EQ(std::string(buffer), home.root.str() + "/data/Ola Marsk/Tidewalker/ECS/");
    ASSERT_TRUE(getHelpFilePath(buffer));
    EXPECT_EQ(std::string(buffer), TIDEWALKER_INSTALL_PREFIX "/share/doc/tidewalker/Tidewalker_Manual.html");
    writeFile(home.root.path / "data/doc/tidewalker/Tidewalker_Manual.html", "<html></html>");
    ASSERT_TRUE(getHelpFilePath(buffer));  // the user's own copy comes first
    EXPECT_EQ(std::string(buffer), home.root.str() + "/data/doc/tidewalker/Tidewalker_Manual.html");
    ScopedEnv deep("XDG_DATA_HOME", "/" + std::string(kFolderPathMaxChars, 'd'));
    EXPECT_FALSE(getDefaultEcsDirectory(buffer));
}
