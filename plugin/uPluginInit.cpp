#include "plugin/APlugin.h"

#include <cstring>

#include "platform/Locations.h"
#include "platform/Preferences.h"
#include "platform/Process.h"

namespace {

constexpr const char* kEcsDirectoryKey = "ECSDir";
constexpr float kStartSampleRate = 44100.0f;
// One below the start rate, so the first setSampleRate always rebuilds.
constexpr float kStaleSampleRate = 44099.0f;

}  // namespace

void APlugin::setDefaultSettings() noexcept {
    slots.setDefaultSettings();
}

void APlugin::initVariables() {
    timeInfo = nullptr;
    for (int n = 0; n < FACTORY_PRESET_COUNT; ++n)
        decodePresetText(&FACTORY_PRESETS[static_cast<std::size_t>(n)][PRESET_NAME_SLOT], PRESET_NAME_LENGTH,
                         factoryNames[n]);
    selectedFilePath[0] = '\0';
    programChanged.store(false, std::memory_order_relaxed);

    setAllMidiControls();
    lastCCValue = 0;
    latchArmed.store(false, std::memory_order_relaxed);
    origProgramName[0] = '\0';
    lockOffset.store(false, std::memory_order_relaxed);
    latchParameter.store(0, std::memory_order_relaxed);
    chain.init();
    editorMailbox.clear();

    lastSampleRate = kStaleSampleRate;
    setSampleRate(kStartSampleRate);
}

void APlugin::getDirectoryPaths() {
    char stored[kPathBytes];
    loadStringFromPrefs(kEcsDirectoryKey, stored, sizeof(stored));
    const std::size_t length = std::strlen(stored);
    if (length > 0 && length <= kFolderPathMaxChars) {
        copyText(ecsDirectory, sizeof(ecsDirectory), stored);
    } else if (getDefaultEcsDirectory(ecsDirectory)) {
        // Only an absent folder is replaced; one too long to use stays stored.
        if (length == 0) saveStringToPrefs(kEcsDirectoryKey, ecsDirectory);
    }
    if (!getHelpFilePath(helpFilePath)) helpFilePath[0] = '\0';
}

const char* APlugin::getHelpFileStr() const noexcept {
    return helpFilePath;
}

bool APlugin::openManual() {
    return getHelpFilePath(helpFilePath) && openWithDesktop(helpFilePath);
}
