// The parameter menu: a right click (or Super-click) on a knob, parameter
// switch or parameter menu shows the parameter's name, value and controller,
// offers value shortcuts and MIDI learn, and acts on the chosen entry's text.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/uEditor.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "plugin/APlugin.h"

using namespace VSTGUI;

namespace {

// The pop-up is all the user sees; the view behind it draws nothing.
constexpr std::int32_t kPopupStyle = kNoDrawStyle;
constexpr CCoord kAroundMouse = 8;

enum class Command { Default, Minimum, Maximum, Mid, Value, Random, Increase, Decrease, Latch, Unlatch, TypeCC, Clear };

struct CommandRow {
    const char* text;
    Command command;
};

// In menu order; a separator comes between the value and the MIDI commands.
constexpr CommandRow kCommands[] = {
    {"Set to Default", Command::Default}, {"Set to Minimum", Command::Minimum}, {"Set to Maximum", Command::Maximum},
    {"Set to Mid", Command::Mid},         {"Set to Value", Command::Value},     {"Set to Random", Command::Random},
    {"Increase", Command::Increase},      {"Decrease", Command::Decrease},      {"Latch to MIDI", Command::Latch},
    {"Unlatch MIDI", Command::Unlatch},   {"Set MIDI CC", Command::TypeCC},     {"Clear MIDI", Command::Clear},
};
constexpr Command kFirstMidiCommand = Command::Latch;

const CommandRow* findCommand(const char* text) {
    for (const CommandRow& row : kCommands)
        if (std::strcmp(row.text, text) == 0) return &row;
    return nullptr;
}

// The menu's entries for parameter tag, in order; "-G" lines are greyed.
std::vector<std::string> controlMenuEntries(APlugin& plugin, VstInt32 tag) {
    char name[kParameterNameBytes] = {};
    char display[kParameterDisplayBytes] = {};
    plugin.getParameterName(tag, name);
    plugin.getParameterDisplay(tag, display);
    // The live map: a controller learned a moment ago shows at once; when
    // several drive the parameter, the highest number shows.
    VstInt32 controller = -1;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc)
        if (plugin.getControllerAssignment(cc) == tag) controller = cc;

    std::vector<std::string> entries = {std::string("-G") + name, std::string("-G") + display, "-",
                                        controller < 0 ? std::string("-GNot Latched")
                                                       : "-GMidi CC : " + std::to_string(controller),
                                        "-"};
    for (const CommandRow& row : kCommands) {
        if (row.command == kFirstMidiCommand) entries.emplace_back("-");
        entries.emplace_back(row.text);
    }
    return entries;
}

}  // namespace

void uEditor::midiLearnMenu(CControl* control, CPoint& where) {
    if (!frame || !plugin || !control) return;
    // Only parameters have a menu: not the offset lock, not the settings page.
    const std::int32_t tag = control->getTag();
    if (tag <= 0 || tag >= kNumEditorSlots) return;
    frame->getCurrentMouseLocation(where);

    auto* menu = new COptionMenu(CRect(where.x - kAroundMouse, where.y - kAroundMouse, where.x + kAroundMouse,
                                       where.y + kAroundMouse),
                                 nullptr, kNoParameterTag, nullptr, nullptr, kPopupStyle);
    for (const std::string& entry : controlMenuEntries(*plugin, tag)) menu->addEntry(entry);
    frame->addView(menu);
    const bool chosen = menu->popup();
    frame->looseFocus();
    char command[64] = {};
    if (chosen) menu->getCurrent(command);
    frame->removeView(menu, true);
    frame->invalid();
    // Dismissed, or a greyed line: nothing matches, nothing happens.
    if (chosen) runControlMenuCommand(tag, command);
}

void uEditor::runControlMenuCommand(VstInt32 tag, const char* text) {
    const CommandRow* row = findCommand(text);
    if (!row) return;
    // Every value change reaches the host as automation inside one gesture.
    const auto automate = [&](float value) {
        plugin->beginEdit(tag);
        plugin->setParameterAutomated(tag, value);
        plugin->endEdit(tag);
        setParameter(tag, value);
    };
    const float before = plugin->getParameter(tag);
    switch (row->command) {
    case Command::Default: automate(parameterRow(tag).defaultValue); return;
    case Command::Minimum: automate(0.0f); return;
    case Command::Maximum: automate(1.0f); return;
    case Command::Mid: automate(0.5f); return;
    case Command::Random: automate(static_cast<float>(std::rand() & 0x7FFF) / 32767.0f); return;
    case Command::Latch: plugin->setMidiLatch(tag, true); return;
    case Command::Unlatch: plugin->setMidiLatch(tag, false); return;
    case Command::TypeCC: plugin->setMidiCCNum(tag); return;
    case Command::Clear: plugin->resetMidi(); return;
    case Command::Value: plugin->setNumValue(tag); break;
    case Command::Increase: plugin->changeDelta(tag, 1); break;
    case Command::Decrease: plugin->changeDelta(tag, -1); break;
    }
    // These went through the effect; the host's copy follows like any other entry's.
    if (const float after = plugin->getParameter(tag); after != before) automate(after);
}
