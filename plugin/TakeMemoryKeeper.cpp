#include "plugin/TakeMemoryKeeper.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace TakeMemoryKeeper {

namespace {

// A take records from the start of its buffer, so memory for a longer length
// is needed no sooner than one old take length after the change. Committing
// all 32 MiB takes tens of ms, but its pages come in order, hundreds of
// times faster than a take records into them.
constexpr auto kPeriod = std::chrono::milliseconds(20);

// The audio thread never takes this mutex; enrolments and the keeper do.
struct Registry {
    std::mutex mutex;
    std::condition_variable_any wake;  // only the stop request wakes it early
    std::vector<const Enrollment*> enrolled;
    std::jthread worker;  // last: joined before the rest is destroyed
};

Registry& registry() {
    static Registry instance;
    return instance;
}

// Whatever thread created the first instance, the keeper runs at ordinary
// scheduling, below the host's interface: its work is never urgent.
void lowerPriority() noexcept {
    const sched_param ordinary{};
    pthread_setschedparam(pthread_self(), SCHED_OTHER, &ordinary);
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    pthread_setname_np(pthread_self(), "tidewalker-keep");
}

void run(std::stop_token stop) {
    lowerPriority();
    Registry& shared = registry();
    std::unique_lock lock(shared.mutex);
    for (;;) {
        shared.wake.wait_for(lock, stop, kPeriod, [] { return false; });
        if (stop.stop_requested()) return;
        for (const Enrollment* enrollment : shared.enrolled) enrollment->keep();
    }
}

}  // namespace

Enrollment::Enrollment(TSignalChain& signalChain, const std::atomic<bool>& activeFlag)
    : chain(signalChain), active(activeFlag) {
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    // Room first, so that once the thread runs the enrolment cannot fail.
    shared.enrolled.reserve(shared.enrolled.size() + 1);
    if (!shared.worker.joinable()) shared.worker = std::jthread(run);
    shared.enrolled.push_back(this);
}

Enrollment::~Enrollment() {
    Registry& shared = registry();
    std::jthread finished;
    {
        std::lock_guard lock(shared.mutex);
        std::erase(shared.enrolled, this);
        if (shared.enrolled.empty()) finished = std::move(shared.worker);
    }
    // finished asks the thread to stop and joins it, outside the lock it needs.
}

void Enrollment::keep() const noexcept {
    if (!active.load(std::memory_order_relaxed)) return;
    for (TReverse& voice : chain.reverse)
        voice.commitLength(static_cast<int32_t>(voice.sampleRate.load(std::memory_order_relaxed) * kHeadroomSeconds));
}

}  // namespace TakeMemoryKeeper
