// Harnesses for the effect object, shared by the plugin, programs and MIDI
// tests: a private home for its preferences, a host that names itself as a
// test wants, dialogs that answer from a script, host-style event blocks and
// Tidewalker.so loaded through dlopen.
#pragma once

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogBackend.h"
#include "plugin/APlugin.h"
#include "plugin/uPluginPresetsBanks.h"
#include "tests/platform/PlatformTestSupport.h"

inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
inline constexpr float kInf = std::numeric_limits<float>::infinity();

// Tests whose effects keep their preferences in a private home.
struct HomeTest : ::testing::Test {
    IsolatedHome home;
};

inline std::string hostProduct, hostVendor;
inline VstIntPtr hostVersion = 2400;

inline VstIntPtr namedHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterGetProductString) std::strcpy(static_cast<char*>(ptr), hostProduct.c_str());
    if (opcode == audioMasterGetVendorString) std::strcpy(static_cast<char*>(ptr), hostVendor.c_str());
    return opcode == audioMasterVersion ? hostVersion : 0;
}

class TestPlugin : public APlugin {
public:
    TestPlugin() : APlugin(nullptr) {}
    TestPlugin(const std::string& product, const std::string& vendor)
        : APlugin((hostProduct = product, hostVendor = vendor, namedHost)) {}
    using APlugin::ecsDirectory, APlugin::factoryIndex, APlugin::chain, APlugin::midiQueue;
    using APlugin::pendingMidiCount, APlugin::slots;

    // Texts read into buffers of exactly the size the effect promises to stay within.
    std::string display(VstInt32 i) { char t[kParameterDisplayBytes] = "junk"; getParameterDisplay(i, t); return t; }
    std::string name(VstInt32 i) { char t[kParameterNameBytes] = "junk"; getParameterName(i, t); return t; }
    std::string programName() { char t[kVstMaxProgNameLen] = {}; getProgramName(t); return t; }
    std::vector<float> values() {  // every slot as getParameter reads it
        std::vector<float> v;
        for (VstInt32 i = 0; i < kNumParameters; ++i) v.push_back(getParameter(i));
        return v;
    }
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

// Replies come from the queues (nullopt = cancelled); requests are kept as "title|prompt|default".
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
        std::optional<std::string> reply;
        if (!queue.empty()) reply = queue.front(), queue.pop_front();
        return reply;
    }
};

inline VstMidiEvent midiEvent(int status, int data1, int data2, VstInt32 delta = 0) {
    const char data[4] = {static_cast<char>(status), static_cast<char>(data1), static_cast<char>(data2)};
    return {kVstMidiType, sizeof(VstMidiEvent), delta, 0, 0, 0, {data[0], data[1], data[2]}, 0, 0, 0, 0};
}

// A VstEvents block with as many pointers as events.
struct EventBlock {
    std::vector<VstMidiEvent> events;
    std::vector<unsigned char> bytes;

    explicit EventBlock(std::vector<VstMidiEvent> list) : events(std::move(list)) {
        bytes.assign(offsetof(VstEvents, events) + (events.size() + 2) * sizeof(VstEvent*), 0);
        block()->numEvents = static_cast<VstInt32>(events.size());
        auto** pointers = reinterpret_cast<VstEvent**>(bytes.data() + offsetof(VstEvents, events));
        for (std::size_t i = 0; i < events.size(); ++i) pointers[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    VstEvents* block() { return reinterpret_cast<VstEvents*>(bytes.data()); }
};

inline void send(APlugin& plugin, std::vector<VstMidiEvent> events) {
    EventBlock block(std::move(events));
    plugin.processEvents(block.block());
}

// Tidewalker.so as a host loads it; effects come from its entry with namedHost.
struct LoadedPlugin {
    void* library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    VstPluginMainProc entry = library ? reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain")) : nullptr;

    ~LoadedPlugin() {
        if (library) dlclose(library);
        hostProduct = hostVendor = "";
        hostVersion = 2400;
    }
    AEffect* create() { return entry ? entry(namedHost) : nullptr; }
};

inline VstIntPtr call(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, const void* ptr = nullptr,
                      float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, const_cast<void*>(ptr), opt);
}
