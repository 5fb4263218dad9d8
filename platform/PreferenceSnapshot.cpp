#include "platform/PreferenceSnapshot.h"

#include "platform/Preferences.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

std::mutex& registryMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<PreferenceSnapshot*>& registry()
{
    static std::vector<PreferenceSnapshot*> snapshots;
    return snapshots;
}

}  // namespace

struct PreferenceSnapshot::FlagRow {
    const char* key;
    bool defaultValue;
    std::atomic<bool> PreferenceSnapshot::*member;
};

// The flags the audio thread reads, one row each.
std::span<const PreferenceSnapshot::FlagRow> PreferenceSnapshot::flagRows()
{
    static constexpr FlagRow kRows[] = {
        {"MuteReverse", true, &PreferenceSnapshot::muteReverse_},
        {"MidiPreset", true, &PreferenceSnapshot::midiPreset_},
        {"MidiBank", true, &PreferenceSnapshot::midiBank_},
    };
    return kRows;
}

PreferenceSnapshot::PreferenceSnapshot()
{
    {
        std::lock_guard lock(registryMutex());
        registry().push_back(this);
    }
    refresh();
}

PreferenceSnapshot::~PreferenceSnapshot()
{
    std::lock_guard lock(registryMutex());
    auto& snapshots = registry();
    snapshots.erase(std::remove(snapshots.begin(), snapshots.end(), this), snapshots.end());
}

void PreferenceSnapshot::refresh()
{
    // Held while reading so that a write noted meanwhile cannot be undone by
    // the older value read here.
    std::lock_guard lock(registryMutex());
    for (const FlagRow& flag : flagRows()) {
        (this->*flag.member).store(getRegistryIsOn(flag.key, flag.defaultValue), std::memory_order_relaxed);
    }
    lastRefresh_.store(std::chrono::steady_clock::now().time_since_epoch().count(), std::memory_order_relaxed);
}

void PreferenceSnapshot::refreshIfDue()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point last{Clock::duration{lastRefresh_.load(std::memory_order_relaxed)}};
    if (Clock::now() - last >= kRefreshSeconds) refresh();
}

void PreferenceSnapshot::apply(const char* key, const char* text)
{
    for (const FlagRow& flag : flagRows()) {
        if (std::strcmp(flag.key, key) == 0) {
            (this->*flag.member).store(flagIsOn(text, flag.defaultValue), std::memory_order_relaxed);
        }
    }
}

void PreferenceSnapshot::noteWritten(const char* key, const char* text)
{
    if (key == nullptr || text == nullptr) return;
    std::lock_guard lock(registryMutex());
    for (PreferenceSnapshot* snapshot : registry()) snapshot->apply(key, text);
}
