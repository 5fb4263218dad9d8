// A harness for MIDI control: an effect in a private home, events built the
// way a host sends them, and dialogs that answer from a script.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogBackend.h"
#include "plugin/APlugin.h"
#include "tests/platform/PlatformTestSupport.h"

class MidiPlugin : public APlugin {
public:
    MidiPlugin() : APlugin(nullptr) {}
    using APlugin::midiQueue;
    using APlugin::pendingMidiCount;

    void frames(int count) {
        for (int i = 0; i < count; ++i)
            if (pendingMidiCount > 0) processMidi(1);
    }
};

inline VstMidiEvent midiEvent(unsigned char status, unsigned char data1, unsigned char data2, VstInt32 delta = 0) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = delta;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}

// A VstEvents block with room for any number of pointers.
struct EventBlock {
    std::vector<VstMidiEvent> storage;
    std::vector<unsigned char> bytes;

    explicit EventBlock(std::vector<VstMidiEvent> events) : storage(std::move(events)) {
        const std::size_t slots = std::max<std::size_t>(storage.size(), 2);
        bytes.assign(offsetof(VstEvents, events) + slots * sizeof(VstEvent*), 0);
        block()->numEvents = static_cast<VstInt32>(storage.size());
        for (std::size_t i = 0; i < storage.size(); ++i) pointers()[i] = reinterpret_cast<VstEvent*>(&storage[i]);
    }
    VstEvents* block() { return reinterpret_cast<VstEvents*>(bytes.data()); }
    VstEvent** pointers() { return reinterpret_cast<VstEvent**>(bytes.data() + offsetof(VstEvents, events)); }
};

inline void send(APlugin& plugin, std::vector<VstMidiEvent> events) {
    EventBlock block(std::move(events));
    EXPECT_EQ(plugin.processEvents(block.block()), 1);
}

// Every dialog answers from its queue (nullopt = cancelled) and is recorded.
class ScriptedDialogs final : public DialogBackend {
public:
    std::deque<std::optional<std::string>> texts;
    std::deque<std::optional<std::string>> files;
    std::vector<std::string> asked;     // "title|prompt|default"
    std::vector<std::string> messages;  // "title|text"
    std::vector<FileDialogRequest> fileRequests;

    ScriptedDialogs() { setDialogBackend(this); }
    ~ScriptedDialogs() override { setDialogBackend(nullptr); }

    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override {
        asked.push_back(title + "|" + prompt + "|" + initial);
        return next(texts);
    }
    void showMessage(const std::string& title, const std::string& text) override {
        messages.push_back(title + "|" + text);
    }
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return next(files);
    }

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& queue) {
        if (queue.empty()) return std::nullopt;
        auto reply = queue.front();
        queue.pop_front();
        return reply;
    }
};

// The 128 controller assignments as the effect holds them.
inline std::vector<VstInt32> controllerMap(const APlugin& plugin) {
    std::vector<VstInt32> map;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) map.push_back(plugin.getControllerAssignment(cc));
    return map;
}
