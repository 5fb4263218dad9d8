// Preference writers and snapshot refreshes on several threads (and one
// other process) at once; CI runs these under ThreadSanitizer.
#include "platform/PreferenceSnapshot.h"
#include "platform/Preferences.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

TEST(PreferenceThreads, SnapshotRefreshesWhileAnotherThreadAsksWhetherItIsDue) {
    IsolatedHome home;
    PreferenceSnapshot snapshot;
    std::atomic<bool> done{false};
    std::thread idle([&] {
        while (!done.load(std::memory_order_relaxed)) snapshot.refreshIfDue();
    });
    for (int i = 0; i < 20; ++i) {
        writeFile(home.userFile(), i % 2 ? R"({"MuteReverse": "Y"})" : R"({"MuteReverse": "N"})");
        snapshot.refresh();
        EXPECT_EQ(snapshot.muteReverse(), i % 2 == 1) << i;
    }
    done = true;
    idle.join();
}

TEST(PreferenceThreads, ThreadsAndAnotherProcessLoseNoKey) {
    IsolatedHome home;
    constexpr int keysPerWriter = 40;
    auto writeKeys = [](const std::string& prefix, int offset) {
        for (int i = 0; i < keysPerWriter; ++i)
            if (!saveIntToPrefs((prefix + std::to_string(i)).c_str(), offset + i)) std::abort();
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) writeKeys("process-", 5000), ::_exit(0);
    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t) writers.emplace_back(writeKeys, "thread" + std::to_string(t) + "-", 1000 * t);
    for (auto& writer : writers) writer.join();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const auto stored = nlohmann::json::parse(readFile(home.userFile()));
    EXPECT_EQ(stored.size(), 4u * keysPerWriter);
    for (int i = 0; i < keysPerWriter; ++i) {
        EXPECT_EQ(stored["process-" + std::to_string(i)], 5000 + i);
        EXPECT_EQ(stored["thread2-" + std::to_string(i)], 2000 + i);
    }
}
