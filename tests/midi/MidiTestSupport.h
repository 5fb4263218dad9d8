// A harness for MIDI control: an effect in a private home, event blocks built
// the way a host sends them, and dialogs that answer from a script.
#pragma once

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
    using APlugin::pendingMidiCount;

    void frames(int count) {  // what the processing loop does before each frame
        for (int i = 0; i < count; ++i)
            if (pendingMidiCount > 0) processMidi(i);
    }
    std::vector<VstInt32> map() const {
        std::vector<VstInt32> entries;
        for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) entries.push_back(getControllerAssignment(cc));
        return entries;
    }
};

inline VstMidiEvent midiEvent(int status, int data1, int data2, VstInt32 delta = 0) {
    VstMidiEvent event{kVstMidiType, sizeof(VstMidiEvent), delta, 0, 0, 0, {}, 0, 0, 0, 0};
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}

// A VstEvents block with as many pointers as events.
struct EventBlock {
    std::vector<VstMidiEvent> events;
    std::vector<unsigned char> bytes;

    explicit EventBlock(std::vector<VstMidiEvent> list) : events(std::move(list)) {
        bytes.assign(offsetof(VstEvents, events) + (events.size() + 2) * sizeof(VstEvent*), 0);
        block()->numEvents = static_cast<VstInt32>(events.size());
        for (std::size_t i = 0; i < events.size(); ++i) pointers()[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    VstEvents* block() { return reinterpret_cast<VstEvents*>(bytes.data()); }
    VstEvent** pointers() { return reinterpret_cast<VstEvent**>(bytes.data() + offsetof(VstEvents, events)); }
};

inline void send(APlugin& plugin, std::vector<VstMidiEvent> events) {
    EventBlock block(std::move(events));
    plugin.processEvents(block.block());
}

// Replies come from the queues (nullopt = cancelled); everything asked is recorded.
class ScriptedDialogs final : public DialogBackend {
public:
    std::deque<std::optional<std::string>> texts, files;
    std::vector<std::string> asked, messages;
    std::vector<FileDialogRequest> requests;

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
        requests.push_back(request);
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
