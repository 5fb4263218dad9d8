#include "platform/Process.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(Process, ArgumentsReachTheProgramUnchangedAndOutputIsCaptured) {
    std::string output;
    const ProcessResult result = runProcess({"printf", "%s|", "a b", "$(touch /tmp/never)", "'q' \"t\"", ""}, &output);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(output, "a b|$(touch /tmp/never)|'q' \"t\"||");
    EXPECT_EQ(runProcess({"false"}).exitStatus, 1);
    EXPECT_FALSE(runProcess({"tidewalker-no-such-program"}).started);

    // More output than asked for is read and dropped, so the program finishes.
    EXPECT_EQ(runProcess({"head", "-c", "1000000", "/dev/zero"}, &output, 100).exitStatus, 0);
    EXPECT_EQ(output.size(), 100u);
}

TEST(Process, OpenWithDesktopHandsThePathToXdgOpenWithoutWaitingButOnlyForAFileThatCanBeRead) {
    TempDir bin;
    const auto record = bin.path / "opened";
    const auto manual = bin.path / "My Manual.html";
    writeFile(manual, "<html></html>");
    // A viewer that stays open long after the call returned.
    writeFile(bin.path / "xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + record.string() + "'\nsleep 2\n", true);
    ScopedEnv path("PATH", ":relative:" + bin.str() + ":/usr/bin:/bin");

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(openWithDesktop(manual.string()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    for (int i = 0; i < 200 && readFile(record).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readFile(record), manual.string());
    EXPECT_FALSE(openWithDesktop((bin.path / "missing.html").string()));
    ScopedEnv noXdgOpen("PATH", bin.str() + "/empty");
    EXPECT_FALSE(openWithDesktop(manual.string()));
}
