// Waiting for the take memory keeper, which runs on its own schedule.
#pragma once

#include <chrono>
#include <thread>

#include "tests/engine_chain/ChainTestSupport.h"

// True once both voices of plugin have what a take at their current length
// needs committed, and beyond samples more; false if that has not happened
// within five seconds.
inline bool keeperCaughtUp(const chain::ChainPlugin& plugin, std::int32_t beyond = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        bool done = true;
        for (const TReverse& voice : plugin.chain.reverse)
            done = done && voice.getCommitted() >= voice.length.load(std::memory_order_relaxed) + beyond;
        if (done) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
