#include "editor/uEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "controls/TBitmap.h"
#include "controls/TKnob.h"
#include "controls/TLfoScreen.h"
#include "controls/TOnOffButton.h"
#include "controls/TOptionMenu.h"
#include "controls/TRadioButton.h"
#include "controls/TReverseDisplay.h"
#include "controls/TTextButton.h"
#include "controls/TVu.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/CKickButton.h"
#include "platform/Preferences.h"
#include "plugin/APlugin.h"

using namespace VSTGUI;
namespace res = tidewalker::resources;

namespace {

constexpr std::size_t kPreferenceBytes = 128;

// By size mode (100, 150, 200 %): the scale, the fonts and the size flags.
constexpr float kScales[3] = {1.0f, 1.5f, 2.0f};
constexpr const char* kSizeKeys[3] = {"Big100", "Big150", "Big200"};
constexpr const CFontRef* kMenuFonts[3] = {&kNormalFont, &kNormalFontBig, &kNormalFontVeryBig};
constexpr const CFontRef* kTextFonts[3] = {&kNormalFontSmall, &kNormalFontBig, &kNormalFontVeryBig};

constexpr int pictureIndex(int id) {
    for (int i = 0; i < res::PICTURE_COUNT; ++i)
        if (res::PICTURE_IDS[i] == id) return i;
    return -1;
}

}  // namespace

AudioEffect* createEffectWithEditor(audioMasterCallback audioMaster, const char* format) {
    std::unique_ptr<AudioEffect> effect(createEffectInstance(audioMaster));
    effect->setEditor(new uEditor(effect.get(), format));
    return effect.release();
}

uEditor::uEditor(AudioEffect* effect, const char* format)
    : AEffGUIEditor(effect), plugin(dynamic_cast<APlugin*>(effect)), formatName(format ? format : "") {
    if (plugin) displays = std::make_unique<EffectDisplaySource>(*plugin);
    sizeMode = sizeModeFromPrefs();
    scale = kScales[sizeMode];
    keyboardEnabled = getBackRegValue("Key", true);
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<VstInt16>(getScaled(kHeight));
    rect.right = static_cast<VstInt16>(getScaled(kWidth));

    std::fill(std::begin(menuEntryCount), std::end(menuEntryCount), -1.0f);
    std::fill(std::begin(readOutParam), std::end(readOutParam), -1);
    for (auto& text : lastReadOutText) std::strcpy(text, kUnshownText);
    currentTick = lastPresetStep = lastStepRequest = getTicks();
    lastEditChanged = !getEditChanged();
}

uEditor::~uEditor() {
    // A host may delete the effect without closing the window first. The
    // effect is already being taken apart when its editor goes: leave it be.
    plugin = nullptr;
    displays.reset();
    if (frame) close();
}

bool uEditor::open(void* parent) { return parent && build(parent); }

bool uEditor::openOffscreen() { return build(nullptr); }

bool uEditor::build(void* parent) {
    if (!plugin) return false;
    if (frame) close();
    AEffGUIEditor::open(parent);
    plugin->setEditorBusy(true);
    isOpenFlag = false;
    backsideShown = false;
    lastEditChanged = !getEditChanged();
    lastFilterMode = -1;
    lastTriggerMode = -1;
    lastPresetStep = lastStepRequest = getTicks();
    createBitmaps();

    CBitmap* back = picture(10000);
    const CRect frameSize = back && back->isLoaded() ? CRect(0, 0, back->getWidth(), back->getHeight())
                                                     : CRect(0, 0, rect.right, rect.bottom);
    frame = new CFrame(frameSize, this);
    frame->setBackground(back);
    if (parent && !frame->open(parent)) {
        // No window inside the host's: nothing would be shown, so no editor.
        frame->close();
        frame = nullptr;
        removeBitmaps();
        plugin->setEditorBusy(false);
        AEffGUIEditor::close();
        return false;
    }
    frame->registerKeyboardHook(this);
    controlCount = 0;
    createFrontControls();
    initBackside();
    showFrontControls();
    plugin->setEditorBusy(false);
    plugin->setEditorOpen(true);
    isOpenFlag = true;
    // Whatever the effect left for an earlier window is stale now.
    plugin->getEditorMailbox().clear();
    heldChanges = 0;
    resume();
    return true;
}

void uEditor::close() {
    isOpenFlag = false;
    // The audio side stops handing meter levels to a window that is gone.
    if (plugin) plugin->setEditorOpen(false);
    if (frame) {
        frame->unregisterKeyboardHook(this);
        frame->close();
        frame = nullptr;
    }
    removeBitmaps();
    controlCount = 0;
    zeroFront();
    zeroBackside();
    backsideShown = false;
    hideBacksideRequest = false;
    AEffGUIEditor::close();
}

void uEditor::createBitmaps() {
    for (int i = 0; i < res::PICTURE_COUNT; ++i) {
        if (bitmaps[i]) bitmaps[i]->forget();
        bitmaps[i] = new CBitmap(CResourceDescription(getBitmap(res::PICTURE_IDS[i])));
    }
}

void uEditor::removeBitmaps() {
    for (auto& bitmap : bitmaps) {
        if (bitmap) bitmap->forget();
        bitmap = nullptr;
    }
}

int uEditor::getBitmap(int id) const { return id + res::PICTURE_ID_STEP_150 * sizeMode; }

CBitmap* uEditor::picture(int id) const {
    const int index = pictureIndex(id);
    return index >= 0 ? bitmaps[index] : nullptr;
}

int uEditor::getScaled(int value) const { return static_cast<int>(static_cast<float>(value) * scale); }

float uEditor::getScaled(float value) const { return value * scale; }

CFontRef uEditor::menuFont() const { return *kMenuFonts[sizeMode]; }

CFontRef uEditor::textFont() const { return *kTextFonts[sizeMode]; }

bool uEditor::getBackRegValue(const char* key, bool defaultOn) {
    char text[kPreferenceBytes] = {};
    loadStringFromPrefs(key, text, sizeof text);
    return defaultOn ? std::strcmp(text, "N") != 0 : std::strcmp(text, "Y") == 0;
}

std::int32_t uEditor::sizeModeFromPrefs() {
    if (getBackRegValue(kSizeKeys[2], false)) return 2;
    return getBackRegValue(kSizeKeys[1], false) ? 1 : 0;
}

bool uEditor::saveSizeMode(std::int32_t mode) {
    StringPreference flags[3];
    for (int k = 0; k < 3; ++k) flags[k] = {kSizeKeys[k], k == mode ? "Y" : "N"};
    return saveStringsToPrefs(flags);
}

bool uEditor::getEditChanged() const { return plugin && plugin->getEditChanged(); }

// --- the control registry -------------------------------------------------

void uEditor::addControl(CControl* control) { registerControl(control, false); }

void uEditor::addControlMenu(CControl* control) { registerControl(control, true); }

void uEditor::registerControl(CControl* control, bool isMenu) {
    if (!plugin || !frame || !control || controlCount >= kRegistrySize) return;
    controls[controlCount] = control;
    controlIsMenu[controlCount] = isMenu ? 1 : 0;
    ++controlCount;
    const std::int32_t tag = control->getTag();
    const bool isParameter = tag >= 0 && tag < kNumParameters;
    control->setDefaultValue(isParameter ? parameterRow(tag).defaultValue : 0.0f);
    float value = isParameter ? plugin->getParameter(tag) : 0.0f;
    // The offset lock outlives the window: it shows the effect's lock.
    if (tag == kOffsetLockTag) value = plugin->getLockOffset() ? 1.0f : 0.0f;
    if (!isMenu) control->setValue(value);
}
