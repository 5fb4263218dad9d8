// The settings page: the back of the editor, shown in place of the front
// panel. Seven switches edit per-user preferences; a click anywhere else
// turns the page back. Its views live from open to close like the front
// panel's; the frame only holds them while the page shows.
#include <string>

#include "controls/TOnOffButton.h"
#include "controls/TTextButton.h"
#include "editor/uEditor.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/CKickButton.h"
#include "platform/Preferences.h"
#include "plugin/APlugin.h"

using namespace VSTGUI;
namespace layout = tidewalker::layout;

namespace {

constexpr int kFrontPicture = 10000;
constexpr int kPagePicture = 10001;
constexpr int kSwitchPicture = 10012;

// The switches in page order: four flags, then the three sizes as one choice.
constexpr const char* kFlagKeys[] = {"Key", "MidiPreset", "MidiBank", "MuteReverse"};
constexpr int kFlagCount = 4;
constexpr int kKeyboardSwitch = 0;

#if defined(__APPLE__)
constexpr const char* kSystemName = "Mac";
#elif defined(_WIN32)
constexpr const char* kSystemName = "Windows";
#else
constexpr const char* kSystemName = "Linux";
#endif
#if defined(__x86_64__)
constexpr const char* kArchitecture = "x86_64";
#elif defined(__aarch64__)
constexpr const char* kArchitecture = "arm64";
#elif defined(__i386__)
constexpr const char* kArchitecture = "x86";
#else
constexpr const char* kArchitecture = "unknown";
#endif

}  // namespace

std::string uEditor::versionText() const {
    const VstInt32 version = plugin ? plugin->getVendorVersion() : 0;
    return std::string(kSystemName) + " " + formatName + " " + kArchitecture + " Tidewalker " +
           std::to_string((version >> 16) & 0xFF) + "." + std::to_string((version >> 8) & 0xFF) + "." +
           std::to_string(version & 0xFF);
}

template <class Visit>
void uEditor::visitBacksideViews(Visit&& visit) {
    // Bottom to top: the page-wide button lies under everything else.
    visit(backsideButton);
    visit(versionLabel);
    for (auto& view : settingsSwitches) visit(view);
}

void uEditor::initBackside() {
    if (!plugin) return;
    const CBitmap* page = picture(kPagePicture);
    const CRect whole = page ? CRect(0, 0, page->getWidth(), page->getHeight()) : CRect(0, 0, rect.right, rect.bottom);
    backsideButton = new CKickButton(whole, this, kNoParameterTag, nullptr, offset);
    const auto& label = layout::VERSION_LABEL;
    versionLabel = new TTextButton(scaledRect(label.x, label.y, label.width, label.height), this, kNoParameterTag,
                                   nullptr, versionText().c_str(), false, true);
    // A click on the label belongs to the page: it turns it back.
    versionLabel->setMouseEnabled(false);
    if (!picture(kSwitchPicture)) return;
    for (int i = 0; i < kSettingsSwitchCount; ++i) {
        const auto& place = layout::SETTINGS_SWITCHES[i];
        settingsSwitches[i] = new TOnOffButton(pictureRect(place.x, place.y, kSwitchPicture, true), this,
                                               kNoParameterTag, picture(kSwitchPicture), false, 0);
    }
}

void uEditor::showBackside() {
    if (!frame) return;
    frame->removeAll(true);  // the frame's references only; the editor keeps its own
    frame->setBackground(picture(kPagePicture));
    visitBacksideViews([this](auto* view) {
        if (!view) return;
        view->remember();
        if (!frame->addView(view)) view->forget();
    });
    loadSettingsSwitches();
    backsideShown = true;
    frame->invalid();
}

void uEditor::hideBackside() {
    if (!frame) return;
    frame->setBackground(picture(kFrontPicture));
    frame->removeAll(true);
    showFrontControls();
    resume();
    backsideShown = false;
    frame->invalid();
}

void uEditor::loadSettingsSwitches() {
    const std::int32_t nextSize = sizeModeFromPrefs();
    for (int i = 0; i < kSettingsSwitchCount; ++i) {
        if (!settingsSwitches[i]) continue;
        const bool on = i == kKeyboardSwitch ? keyboardEnabled
                        : i < kFlagCount     ? getBackRegValue(kFlagKeys[i], true)
                                             : i - kFlagCount == nextSize;
        settingsSwitches[i]->setValue(on ? 1.0f : 0.0f);
        settingsSwitches[i]->setDirty(true);
    }
}

bool uEditor::settingsPageChanged(CControl* control) {
    int index = 0;
    while (index < kSettingsSwitchCount && control != settingsSwitches[index]) ++index;
    if (index == kSettingsSwitchCount) return false;
    const bool on = control->getValue() > 0.5f;
    if (index < kFlagCount) {
        saveStringToPrefs(kFlagKeys[index], on ? "Y" : "N");
        if (index == kKeyboardSwitch) keyboardEnabled = on;
    } else if (on) {
        chooseScreenSize(index - kFlagCount, false);
    }
    // The size switches are one choice, and a switch whose preference could
    // not be stored shows what is stored: the page always shows the truth.
    loadSettingsSwitches();
    return true;
}

void uEditor::zeroBackside() {
    visitBacksideViews([](auto*& view) {
        if (view) view->forget();
        view = nullptr;
    });
}
