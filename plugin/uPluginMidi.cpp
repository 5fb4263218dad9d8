// The audio-thread side of MIDI control: the pending-event queue and the
// controller, bank select and program change messages it applies frame by
// frame.
#include "plugin/APlugin.h"

#include <cstring>

namespace {

constexpr VstInt32 kFilledMark = 99;  // first reserved byte of a queued record
constexpr unsigned kStatusMask = 0xF0;
constexpr unsigned kControlChange = 0xB0;
constexpr unsigned kProgramChange = 0xC0;
constexpr VstInt32 kBankSelectMsb = 0;
constexpr VstInt32 kBankSelectLsb = 32;
constexpr VstInt32 kNoBank = -1;
constexpr unsigned kDataMask = 0x7F;
constexpr float kControllerScale = 1.0f / 128.0f;  // 127 gives 0.9921875, never 1

// Channel-mode messages: never learned, never drive a parameter.
constexpr VstInt32 kModeControllers[] = {120, 121, 123};

bool isModeController(VstInt32 cc) noexcept {
    for (VstInt32 mode : kModeControllers)
        if (cc == mode) return true;
    return false;
}

}  // namespace

VstInt32 APlugin::processEvents(VstEvents* events) noexcept {
    if (!events || events->numEvents <= 0) return 1;
    VstInt32 freeSlot = 0;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        // A host that claims more events than it passes pointers for may end
        // the list early with a null; nothing after it can be trusted.
        if (!event) break;
        if (event->type != kVstMidiType) continue;
        if (pendingMidiCount >= kMidiQueueSize) break;  // full: the rest of this moment is dropped
        while (freeSlot < kMidiQueueSize && midiQueue[freeSlot]->deltaFrames != kFreeMidiSlot) ++freeSlot;
        if (freeSlot == kMidiQueueSize) break;

        VstMidiEvent& record = *midiQueue[freeSlot];
        std::memcpy(&record, event, sizeof(VstMidiEvent));
        record.reserved1 = static_cast<char>(kFilledMark);
        // A negative delta would never fall to 0, and its record would stay taken for good.
        if (record.deltaFrames < 0) record.deltaFrames = 0;
        ++pendingMidiCount;
    }
    return 1;
}

void APlugin::processMidi(long /*frames*/) noexcept {
    // Records taken at the start of the walk; once all are visited the rest are free.
    VstInt32 toVisit = pendingMidiCount;
    for (VstInt32 slot = 0; slot < kMidiQueueSize && toVisit > 0; ++slot) {
        VstMidiEvent& record = *midiQueue[slot];
        if (record.deltaFrames == kFreeMidiSlot) continue;
        --toVisit;
        if (record.deltaFrames > 0) --record.deltaFrames;
        if (record.deltaFrames != 0) continue;

        if (pendingMidiCount <= 0) {
            pendingMidiCount = 0;
            return;
        }
        --pendingMidiCount;
        const auto status = static_cast<unsigned char>(record.midiData[0]) & kStatusMask;
        const auto data1 = static_cast<VstInt32>(static_cast<unsigned char>(record.midiData[1]) & kDataMask);
        const auto data2 = static_cast<VstInt32>(static_cast<unsigned char>(record.midiData[2]) & kDataMask);
        // Every other status is consumed without effect.
        if (status == kControlChange && !applyBankSelect(data1, data2)) applyControlChange(data1, data2);
        if (status == kProgramChange) applyProgramChange(data1);
        record.deltaFrames = kFreeMidiSlot;
    }
}

void APlugin::applyControlChange(VstInt32 cc, VstInt32 value) noexcept {
    storeRelaxed(lastCCValue, value);
    if (isModeController(cc)) return;
    if (latchArmed.exchange(false, std::memory_order_acquire)) {
        storeRelaxed(ccMap[cc], latchParameter.load(std::memory_order_relaxed));
        ccMapWriter.markChanged(cc);  // stored by the writer thread, not here
    }
    const VstInt32 parameter = loadRelaxed(ccMap[cc]);
    if (parameter != 0) setParameter(parameter, static_cast<float>(value) * kControllerScale);
}

bool APlugin::applyBankSelect(VstInt32 cc, VstInt32 value) noexcept {
    // With bank switching on, both bank select controllers belong to it and
    // neither learns nor drives a parameter; a bank beyond the factory's is ignored.
    if ((cc != kBankSelectMsb && cc != kBankSelectLsb) || !preferences.midiBank()) return false;
    if (value < FACTORY_BANK_COUNT) chosenMidiBank = value;
    return true;
}

void APlugin::applyProgramChange(VstInt32 program) noexcept {
    if (!preferences.midiPreset()) return;
    // Until a bank is chosen, programs count through the whole factory bank.
    VstInt32 preset = program;
    if (preferences.midiBank() && chosenMidiBank != kNoBank) {
        const FactoryBank& bank = FACTORY_BANKS[static_cast<std::size_t>(chosenMidiBank)];
        if (program >= bank.count) return;
        preset = bank.first + program;
    }
    if (preset >= FACTORY_PRESET_COUNT) return;
    // Between frames, so the load and the resets it asks for land before the next one.
    setFactoryProgram(preset);
    hostUpdateRequested.store(true, std::memory_order_relaxed);
}

VstInt32 APlugin::getControllerAssignment(VstInt32 cc) const noexcept {
    if (cc < 0 || cc >= kNumMidiControllers) return 0;
    return loadRelaxed(ccMap[cc]);
}
