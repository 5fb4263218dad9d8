// The Debian package made from this build: its files where hosts look for
// them and its control data, read back with dpkg-deb.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/Shell.h"

namespace {

using tidewalker::testing::shell;

TEST(DebianPackage, PutsEveryFormatWhereHostsLookAndDeclaresItsDependencies) {
#ifdef TIDEWALKER_SANITIZED_BUILD
    GTEST_SKIP() << "packages are made from plain builds";
#endif
    if (shell("command -v dpkg-deb").empty()) GTEST_SKIP() << "dpkg-deb is not installed";
    TempDir folder;
    const std::string in = "'" + folder.str() + "'";
    shell("cd " + in + " && '" CPACK_COMMAND "' -G DEB --config '" CPACK_CONFIG "' -B " + in);
    const std::string deb = folder.str() + "/tidewalker_" TIDEWALKER_VERSION "_amd64.deb";
    ASSERT_TRUE(std::filesystem::exists(deb)) << "cpack made no package";

    const std::string files = shell("dpkg-deb -c '" + deb + "'");
    for (const char* path : {"./usr/lib/lxvst/Tidewalker.so", "./usr/lib/lv2/Tidewalker.lv2/Tidewalker.so",
                             "./usr/lib/lv2/Tidewalker.lv2/manifest.ttl", "./usr/lib/lv2/Tidewalker.lv2/Tidewalker.ttl",
                             "./usr/lib/lv2/Tidewalker.lv2/presets.ttl", "./usr/bin/tidewalker-render",
                             "./usr/share/doc/tidewalker/Tidewalker_Manual.html",
                             "./usr/share/doc/tidewalker/tidewalker-editor-100.png"})
        EXPECT_NE(files.find(std::string(path) + "\n"), std::string::npos) << path << " missing from\n" << files;

    EXPECT_EQ(shell("dpkg-deb -f '" + deb + "' Package Version Architecture"),
              "Package: tidewalker\nVersion: " TIDEWALKER_VERSION "\nArchitecture: amd64\n");
    const std::string depends = shell("dpkg-deb -f '" + deb + "' Depends");
    for (const char* library : {"libc6", "libstdc++6", "libsndfile1", "libcairo2", "libx11-6", "fonts-dejavu-core"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " not declared in " << depends;
}

}  // namespace
