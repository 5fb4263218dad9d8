// The keeper's thread against instances coming and going while another
// instance plays and has its length raised on the audio thread; CI runs it
// under ThreadSanitizer and AddressSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "tests/memory/KeeperTestSupport.h"

namespace {

int keeperThreads() {
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        count += name == "tidewalker-keep";
    }
    return count;
}

}  // namespace

TEST(TakeMemoryKeeper, ServesInstancesThatComeAndGoAndEndsWithTheLast) {
    IsolatedHome home;
    chain::setTransport(true, 120.0);
    auto playing = std::make_unique<chain::ChainPlugin>();
    playing->setSampleRate(44100.0f);
    playing->setParameter(Param::ReverseTempoSync, 0.0f);
    playing->resume();
    std::atomic<bool> done{false};
    std::atomic<int> blocks{0};

    // Lengths from about 0.1 s to 2.6 s, each set between blocks on the audio thread.
    std::thread audio([&] {
        const chain::Stereo in = chain::noise(256, 3);
        chain::Stereo out(256);
        float* inputs[2] = {const_cast<float*>(in.left.data()), const_cast<float*>(in.right.data())};
        float* outputs[2] = {out.left.data(), out.right.data()};
        for (int block = 0; !done; blocks = ++block) {
            if (block % 50 == 0) playing->setParameter(Param::ReverseLength, 0.2f + 0.05f * float(block / 50 % 5));
            playing->processReplacing(inputs, outputs, 256);
        }
    });
    for (int round = 0; round < 30 || blocks < 250; ++round) {
        chain::ChainPlugin passing;
        passing.setSampleRate(round % 2 ? 48000.0f : 44100.0f);
        if (round % 3) passing.resume();
        chain::render(passing, chain::noise(64, round));
        EXPECT_EQ(keeperThreads(), 1);
    }
    done = true;
    audio.join();
    EXPECT_TRUE(keeperCaughtUp(*playing));
    playing.reset();
    EXPECT_EQ(keeperThreads(), 0);
}
