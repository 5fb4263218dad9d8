// The control side of MIDI control: learning, typing and clearing controller
// assignments, and ECS files. Every change is noted to the map writer and
// stored in one preference write.
#include "plugin/APlugin.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/Dialogs.h"
#include "platform/Locations.h"
#include "plugin/EcsFile.h"

namespace {

constexpr const char* kEcsProblem = "Problem with ECS File";
constexpr int kOkWindow = 0;

bool validAssignment(VstInt32 index) noexcept {
    return index >= 0 && index <= kMaxControllerParameter;
}

}  // namespace

void APlugin::setMidiLatch(VstInt32 index, bool on) {
    if (!validAssignment(index)) return;
    latchParameter.store(index, std::memory_order_relaxed);
    if (on) {
        // The learn happens on the audio thread, which leaves the store to this writer.
        ccMapWriter.startBackgroundWriter();
        latchArmed.store(true, std::memory_order_release);
        return;
    }
    if (index == 0) return;  // entries already 0 stay 0
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) {
        if (loadRelaxed(ccMap[cc]) != index) continue;
        storeRelaxed(ccMap[cc], 0);
        ccMapWriter.markChanged(cc);
    }
    ccMapWriter.flush();
}

void APlugin::setMidiCCNum(VstInt32 index) {
    if (!validAssignment(index)) return;
    char name[kParameterNameBytes] = {};
    getParameterName(index, name);
    char label[kParameterNameBytes + 16];
    std::snprintf(label, sizeof(label), "Midi CC : %s", name);
    char reply[kInputBoxBytes] = {};
    inputBox(label, "Midi CC (0 - 127)", reply, sizeof(reply));
    if (!reply[0]) return;

    // No number reads as 0; strtol saturates, so huge replies clamp like any other.
    const long number = std::strtol(reply, nullptr, 10);
    const auto cc = static_cast<VstInt32>(std::clamp<long>(number, 0, kNumMidiControllers - 1));
    storeRelaxed(ccMap[cc], index);
    ccMapWriter.markChanged(cc);
    ccMapWriter.flush();
}

void APlugin::resetMidi() {
    for (VstInt32& entry : ccMap) storeRelaxed(entry, 0);
    ccMapWriter.markAllChanged();
    ccMapWriter.flush();
}

void APlugin::setAllMidiControls() {
    // A controller learned but not yet stored would otherwise be read back as it was.
    ccMapWriter.flush();
    const ControllerAssignments stored = getAllMidiCCs();
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) storeRelaxed(ccMap[cc], stored[cc]);
}

void APlugin::LoadECS() {
    char chosenFolder[kPathBytes] = {};
    selectedFilePath[0] = '\0';
    if (!fileSelectLoadDir("ECS Loader", ecsDirectory, "Load", kEcsFileFilter, chosenFolder, selectedFilePath) ||
        !selectedFilePath[0])
        return;

    ControllerAssignments loaded;
    const bool ok = readEcsFile(selectedFilePath, loaded);
    selectedFilePath[0] = '\0';
    if (!ok) {
        messageBox(kEcsProblem, kOkWindow);
        return;
    }
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) storeRelaxed(ccMap[cc], loaded[cc]);
    ccMapWriter.markAllChanged();
    ccMapWriter.flush();
}

void APlugin::SaveECS() {
    char chosenFolder[kPathBytes] = {};
    selectedFilePath[0] = '\0';
    if (!fileSelectSaveDir("ECS Save", ecsDirectory, "Save", kProposedEcsFileName, chosenFolder, selectedFilePath) ||
        !selectedFilePath[0])
        return;

    ControllerAssignments current;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) current[cc] = loadRelaxed(ccMap[cc]);
    const bool ok = writeEcsFile(selectedFilePath, current);
    selectedFilePath[0] = '\0';
    if (!ok) messageBox(kEcsProblem, kOkWindow);
}
