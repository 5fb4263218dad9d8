// A host-less harness for the effect object: a private home for its
// preferences, scripted dialog replies and access to its inner state.
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
    using APlugin::currentValues;
    using APlugin::ecsDirectory;
    using APlugin::editedValues;
    using APlugin::helpFilePath;
    using APlugin::isSwitch;
    using APlugin::lastValues;
    using APlugin::midiQueue;
    using APlugin::origValues;
    using APlugin::programs;
    using APlugin::factoryIndex;
    using AudioEffect::sampleRate;

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

// Input-window replies handed out in order (nullopt = cancelled); every
// request is kept as "title|prompt|default".
class ScriptedInput final : public DialogBackend {
public:
    std::deque<std::optional<std::string>> replies;
    std::vector<std::string> asked;

    ScriptedInput() { setDialogBackend(this); }
    ~ScriptedInput() override { setDialogBackend(nullptr); }

    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& initialText) override {
        asked.push_back(title + "|" + prompt + "|" + initialText);
        if (replies.empty()) return std::nullopt;
        auto reply = replies.front();
        replies.pop_front();
        return reply;
    }
    void showMessage(const std::string&, const std::string&) override {}
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};
