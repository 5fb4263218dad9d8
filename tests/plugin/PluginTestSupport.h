// A host-less harness for the effect object: a private home for its
// preferences, scripted input-window replies and access to inner state.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogBackend.h"
#include "plugin/APlugin.h"
#include "tests/platform/PlatformTestSupport.h"

class TestPlugin : public APlugin {
public:
    TestPlugin() : APlugin(nullptr) {}
    using APlugin::ecsDirectory;
    using APlugin::editedValues;
    using APlugin::factoryIndex;
    using APlugin::isSwitch;
    using APlugin::lastValues;
    using APlugin::midiQueue;
    using APlugin::programs;

    std::string display(VstInt32 index) {
        char text[kParameterDisplayBytes] = "junk";
        getParameterDisplay(index, text);
        return text;
    }
    std::string name(VstInt32 index) {
        char text[kParameterNameBytes] = "junk";
        getParameterName(index, text);
        return text;
    }
};

// Replies handed out in order (nullopt = cancelled); requests kept as "title|prompt|default".
class ScriptedInput final : public DialogBackend {
public:
    std::deque<std::optional<std::string>> replies;
    std::vector<std::string> asked;

    ScriptedInput() { setDialogBackend(this); }
    ~ScriptedInput() override { setDialogBackend(nullptr); }

    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override {
        asked.push_back(title + "|" + prompt + "|" + initial);
        if (replies.empty()) return std::nullopt;
        auto reply = replies.front();
        replies.pop_front();
        return reply;
    }
    void showMessage(const std::string&, const std::string&) override {}
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};
