// Display and meter queries, answered by the signal chain, and the mailbox
// through which the audio thread leaves word for the editor.
#include "plugin/APlugin.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

constexpr float kVuToEditor = 4.0f;

}  // namespace

float APlugin::getReverseDisplayLengthMS() const noexcept {
    return chain.getReverseDisplayLengthMS();
}

float APlugin::getReverseDisplayLengthQuantized() const noexcept {
    return chain.getReverseDisplayLengthQuantized();
}

float APlugin::getReverseDisplayLengthQB() const noexcept {
    return chain.getReverseDisplayLengthQB();
}

float APlugin::getDisplayValue(float x, float width, bool input) const noexcept {
    return chain.getDisplayValue(x, width, input);
}

float APlugin::getReversePosition() const noexcept {
    return chain.getReversePosition();
}

float APlugin::getRecordPosition() const noexcept {
    return chain.getRecordPosition();
}

float APlugin::getReverseLength() const noexcept {
    return chain.getReverseLength();
}

float APlugin::getHoldTime() const noexcept {
    return chain.getHoldTime();
}

bool APlugin::getSilent() const noexcept {
    return chain.getSilent();
}

bool APlugin::getReverseManualTrigger() const noexcept {
    return chain.getReverseManualTrigger();
}

float APlugin::getLFOPos() const noexcept {
    return chain.getLFOPos();
}

float APlugin::getVu() noexcept {
    return chain.getVu();
}

void APlugin::handVuToEditor() noexcept {
    if (!editorShowing()) return;
    for (int i = 0; i < 4; ++i) vuForEditor[i].store(loadRelaxed(chain.vuFollowers[i]) * kVuToEditor, relaxed);
    vuForEditorReady.store(true, std::memory_order_release);
}

bool APlugin::editorShowing() const noexcept {
    // Only the link's own flags: the audio thread never touches the editor object.
    return editorOpen.load(relaxed) && !editorBusy.load(relaxed);
}

void APlugin::editorResume() noexcept {
    if (editorShowing()) resumeRequested.store(true, relaxed);
}

bool APlugin::takeResumeRequest() noexcept {
    return resumeRequested.exchange(false, relaxed);
}

bool APlugin::takeVuLevels(float (&levels)[4]) noexcept {
    if (!vuForEditorReady.exchange(false, std::memory_order_acquire)) return false;
    for (int i = 0; i < 4; ++i) levels[i] = vuForEditor[i].load(relaxed);
    return true;
}

std::uint64_t APlugin::takeParametersChangedByAudio() noexcept {
    return parametersChangedByAudio.exchange(0, relaxed);
}
