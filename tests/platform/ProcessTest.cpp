#include "platform/Process.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

namespace {

void writeScript(const std::filesystem::path& path, const std::string& body)
{
    writeFile(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

}  // namespace

TEST(Process, ArgumentsReachTheProgramUnchangedAndOutputIsCaptured)
{
    std::string output;
    const ProcessResult result =
        runProcess({"printf", "%s|", "a b", "$(touch /tmp/never)", "'quoted' \"twice\"", ""}, &output);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(output, "a b|$(touch /tmp/never)|'quoted' \"twice\"||");
}

TEST(Process, ExitStatusMissingProgramsAndOutputLimit)
{
    EXPECT_EQ(runProcess({"false"}).exitStatus, 1);
    const ProcessResult missing = runProcess({"tidewalker-no-such-program"});
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(runProcess({}).started);

    // More output than asked for is read and dropped, so the program finishes.
    std::string output;
    const ProcessResult big = runProcess({"head", "-c", "1000000", "/dev/zero"}, &output, 100);
    EXPECT_EQ(big.exitStatus, 0);
    EXPECT_EQ(output.size(), 100u);
}

TEST(Process, FindExecutableSkipsRelativePathEntries)
{
    TempDir bin;
    writeScript(bin.path() / "tool", "exit 0\n");
    ScopedEnv path("PATH", ":relative:" + bin.str());
    EXPECT_EQ(findExecutable("tool"), bin.str() + "/tool");
    EXPECT_EQ(findExecutable("absent-tool"), "");
    EXPECT_EQ(findExecutable((bin.path() / "tool").string()), bin.str() + "/tool");
}

TEST(Process, OpenWithDesktopHandsThePathToXdgOpenWithoutWaiting)
{
    TempDir bin;
    const auto record = bin.path() / "opened";
    // A viewer that stays open long after the call returned.
    writeScript(bin.path() / "xdg-open", "printf '%s' \"$1\" > '" + record.string() + "'\nsleep 2\n");
    ScopedEnv path("PATH", bin.str() + ":/usr/bin:/bin");

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(openWithDesktop("/docs/My Manual.pdf"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    for (int i = 0; i < 200 && readFile(record).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readFile(record), "/docs/My Manual.pdf");
}

TEST(Process, OpenWithDesktopFailsWithoutXdgOpen)
{
    TempDir empty;
    ScopedEnv path("PATH", empty.str());
    EXPECT_FALSE(openWithDesktop("/docs/manual.pdf"));
}
