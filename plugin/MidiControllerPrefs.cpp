#include "plugin/MidiControllerPrefs.h"

#include <system_error>

#include "platform/Preferences.h"
#include "engine/SharedValue.h"

namespace {

struct ControllerKeys {
    char text[kNumMidiControllers][4];
};

constexpr ControllerKeys makeControllerKeys() {
    ControllerKeys keys{};
    for (int cc = 0; cc < kNumMidiControllers; ++cc) {
        char digits[3];
        int count = 0;
        for (int rest = cc; count == 0 || rest > 0; rest /= 10) digits[count++] = static_cast<char>('0' + rest % 10);
        for (int i = 0; i < count; ++i) keys.text[cc][i] = digits[count - 1 - i];
    }
    return keys;
}

constexpr ControllerKeys kControllerKeys = makeControllerKeys();

bool validController(VstInt32 cc) noexcept {
    return cc >= 0 && cc < kNumMidiControllers;
}

bool validAssignment(VstInt32 index) noexcept {
    return index >= 0 && index <= kMaxControllerParameter;
}

constexpr int kBitsPerWord = 64;
static_assert(std::atomic<std::uint64_t>::is_always_lock_free, "the audio thread marks changes");

}  // namespace

const char* midiControllerKey(VstInt32 cc) noexcept {
    return validController(cc) ? kControllerKeys.text[cc] : "";
}

VstInt32 getMidiCC(VstInt32 cc) {
    if (!validController(cc)) return 0;
    const VstInt32 index = loadIntFromPrefs(midiControllerKey(cc));
    return validAssignment(index) ? index : 0;
}

ControllerAssignments getAllMidiCCs() {
    IntPreference entries[kNumMidiControllers];
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) entries[cc] = {midiControllerKey(cc), 0};
    loadIntsFromPrefs(entries);
    ControllerAssignments map;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc)
        map[cc] = validAssignment(entries[cc].value) ? entries[cc].value : 0;
    return map;
}

bool setMidiCC(VstInt32 cc, VstInt32 index) {
    if (!validController(cc) || !validAssignment(index)) return false;
    return saveIntToPrefs(midiControllerKey(cc), index);
}

ControllerMapWriter::ControllerMapWriter(const VstInt32 (&map)[kNumMidiControllers]) noexcept : map_(map) {}

ControllerMapWriter::~ControllerMapWriter() {
    {
        std::lock_guard lock(wakeMutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    try {
        flush();
    } catch (...) {
        // Nothing to report to from a destructor; the store could not take it.
    }
}

void ControllerMapWriter::markChanged(VstInt32 cc) noexcept {
    if (!validController(cc)) return;
    // Release: whoever takes the mark also sees the map entry written before it.
    changed_[cc / kBitsPerWord].fetch_or(std::uint64_t{1} << (cc % kBitsPerWord), std::memory_order_release);
}

void ControllerMapWriter::markAllChanged() noexcept {
    for (auto& word : changed_) word.store(~std::uint64_t{0}, std::memory_order_release);
}

bool ControllerMapWriter::flush() {
    std::lock_guard lock(flushMutex_);
    std::uint64_t taken[2];
    for (int word = 0; word < 2; ++word) taken[word] = changed_[word].exchange(0, std::memory_order_acquire);

    IntPreference entries[kNumMidiControllers];
    std::size_t count = 0;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) {
        if (taken[cc / kBitsPerWord] & (std::uint64_t{1} << (cc % kBitsPerWord)))
            entries[count++] = {midiControllerKey(cc), loadRelaxed(map_[cc])};
    }
    if (count == 0 || saveIntsToPrefs(std::span<const IntPreference>(entries, count))) return true;
    for (int word = 0; word < 2; ++word) changed_[word].fetch_or(taken[word], std::memory_order_relaxed);
    return false;
}

void ControllerMapWriter::startBackgroundWriter() {
    std::lock_guard lock(wakeMutex_);
    if (thread_.joinable() || stopping_) return;
    try {
        thread_ = std::thread(&ControllerMapWriter::run, this);
    } catch (const std::system_error&) {
        // Without the thread a learned controller is stored by the next
        // control-side flush (reload, edit, or the effect's destruction).
    }
}

void ControllerMapWriter::run() {
    std::unique_lock lock(wakeMutex_);
    while (!wake_.wait_for(lock, kWritePeriod, [this] { return stopping_; })) {
        lock.unlock();
        try {
            flush();
        } catch (...) {
            // A store that cannot be written now may be writable at the next tick.
        }
        lock.lock();
    }
}
