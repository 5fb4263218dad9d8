// Display and meter queries, answered by the signal chain, and what the
// audio thread leaves for the editor in its mailbox.
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
    float levels[EditorMailbox::kVuCount];
    for (int i = 0; i < EditorMailbox::kVuCount; ++i) levels[i] = loadRelaxed(chain.vuFollowers[i]) * kVuToEditor;
    editorMailbox.handOverVu(levels);
}

bool APlugin::editorShowing() const noexcept {
    // Only the link's own flags: the audio thread never touches the editor object.
    return editorOpen.load(relaxed) && !editorBusy.load(relaxed);
}

void APlugin::editorResume() noexcept {
    if (editorShowing()) editorMailbox.requestResume();
}
