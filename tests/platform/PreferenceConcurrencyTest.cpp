#include "platform/Preferences.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kKeysPerWriter = 40;

void writeKeys(const std::string& prefix, int offset)
{
    for (int i = 0; i < kKeysPerWriter; ++i) {
        const std::string key = prefix + std::to_string(i);
        if (!saveIntToPrefs(key.c_str(), offset + i)) std::abort();
    }
}

}  // namespace

TEST(PreferenceConcurrency, ThreadsAndAnotherProcessLoseNoKey)
{
    IsolatedHome home;

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        writeKeys("process-", 5000);
        ::_exit(0);
    }

    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t) {
        writers.emplace_back([t] { writeKeys("thread" + std::to_string(t) + "-", 1000 * t); });
    }
    for (auto& writer : writers) writer.join();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const auto stored = nlohmann::json::parse(readFile(home.userFile()));
    EXPECT_EQ(stored.size(), 4u * kKeysPerWriter);
    for (int i = 0; i < kKeysPerWriter; ++i) {
        EXPECT_EQ(loadIntFromPrefs(("process-" + std::to_string(i)).c_str()), 5000 + i);
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(loadIntFromPrefs(("thread" + std::to_string(t) + "-" + std::to_string(i)).c_str()), 1000 * t + i);
        }
    }
}

TEST(PreferenceConcurrency, ReadersNeverSeeAHalfWrittenFile)
{
    IsolatedHome home;
    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/stable/"));
    std::atomic<bool> done{false};
    std::thread writer([&] {
        writeKeys("noise-", 0);
        done = true;
    });
    int reads = 0;
    while (!done) {
        char text[64];
        loadStringFromPrefs("ECSDir", text, sizeof text);
        ASSERT_STREQ(text, "/stable/");
        ++reads;
    }
    writer.join();
    EXPECT_GT(reads, 0);
}
