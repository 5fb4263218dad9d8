#include "lv2/Lv2Effect.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include <lv2/urid/urid.h>

#include "lv2/AtomReader.h"

namespace {

const LV2_URID_Map* findUridMap(const LV2_Feature* const* features) {
    for (; features && *features; ++features)
        if (std::string_view((*features)->URI) == LV2_URID__map)
            return static_cast<const LV2_URID_Map*>((*features)->data);
    return nullptr;
}

// Channel messages only, and only whole ones: a status byte followed by as
// many data bytes as it needs.
std::uint32_t midiMessageLength(const std::uint8_t* data, std::uint32_t size) noexcept {
    if (size == 0 || data[0] < 0x80 || data[0] >= 0xF0) return 0;
    const std::uint8_t kind = data[0] & 0xF0;
    const std::uint32_t length = (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
    return size >= length ? length : 0;
}

}  // namespace

Lv2Effect::Lv2Effect(double sampleRate, const LV2_Feature* const* features)
    : urids(HostUrids::map(findUridMap(features))), clock(sampleRate) {
    std::unique_ptr<AudioEffect> made(createEffectInstance(&Lv2Effect::hostCallback));
    plugin.reset(dynamic_cast<APlugin*>(made.get()));
    if (!plugin) throw std::runtime_error("the effect factory made no Tidewalker");
    made.release();
    plugin->getAeffect()->resvd1 = reinterpret_cast<VstIntPtr>(this);
    plugin->setSampleRate(static_cast<float>(sampleRate));
    rememberControls();
}

Lv2Effect::~Lv2Effect() = default;

void Lv2Effect::connect(std::uint32_t port, void* data) noexcept {
    switch (port) {
        case ports::kInLeft: audioIn[0] = static_cast<const float*>(data); return;
        case ports::kInRight: audioIn[1] = static_cast<const float*>(data); return;
        case ports::kOutLeft: audioOut[0] = static_cast<float*>(data); return;
        case ports::kOutRight: audioOut[1] = static_cast<float*>(data); return;
        case ports::kEvents: events = static_cast<const LV2_Atom_Sequence*>(data); return;
        default:
            if (port >= ports::kFirstControl && port < ports::kFirstControl + ports::kControlCount)
                controls[port - ports::kFirstControl] = static_cast<const float*>(data);
    }
}

void Lv2Effect::activate() {
    plugin->resume();
    // A host activates an instance to start it afresh: no take of before
    // plays on, and the filters start at their settings.
    plugin->resetReverse(0);
    plugin->resetReverse(1);
    plugin->resetEverything();
}

void Lv2Effect::deactivate() {
    plugin->suspend();
}

void Lv2Effect::rememberControls() noexcept {
    for (std::uint32_t i = 0; i < ports::kControlCount; ++i)
        appliedBits[i].store(std::bit_cast<std::uint32_t>(plugin->getParameter(slots[i])), std::memory_order_relaxed);
}

void Lv2Effect::takeControlsAsApplied() noexcept {
    for (std::uint32_t i = 0; i < ports::kControlCount; ++i)
        if (controls[i]) appliedBits[i].store(std::bit_cast<std::uint32_t>(*controls[i]), std::memory_order_relaxed);
}

float Lv2Effect::portValueSeen(std::uint32_t control) const noexcept {
    if (control >= ports::kControlCount) return 0.0f;
    return std::bit_cast<float>(appliedBits[control].load(std::memory_order_relaxed));
}

void Lv2Effect::applyControls() noexcept {
    for (std::uint32_t i = 0; i < ports::kControlCount; ++i) {
        if (!controls[i]) continue;
        const float value = *controls[i];
        const auto bits = std::bit_cast<std::uint32_t>(value);
        if (bits == appliedBits[i].load(std::memory_order_relaxed)) continue;
        appliedBits[i].store(bits, std::memory_order_relaxed);
        // A port taking up the value the effect holds already (the host's
        // echo of a program change the editor wrote) changes nothing: storing
        // it again would overwrite the edits "Revert to Edited Preset" brings back.
        if (value != plugin->getParameter(slots[i])) plugin->setParameter(slots[i], value);
    }
}

void Lv2Effect::queueMidi(std::uint32_t frame, const LV2_Atom& atom) noexcept {
    const auto* data = reinterpret_cast<const std::uint8_t*>(&atom + 1);
    const std::uint32_t length = midiMessageLength(data, atom.size);
    if (length == 0 || midiCount == kMaxMidiPerRun) return;
    VstMidiEvent& event = midi[midiCount];
    event = VstMidiEvent{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    std::copy_n(data, length, reinterpret_cast<std::uint8_t*>(event.midiData));
    midiFrames[midiCount++] = frame;
}

void Lv2Effect::processUntil(std::uint32_t end) noexcept {
    if (end <= processed) return;
    // Two at a time, as many as the interface's event block declares.
    for (std::uint32_t i = 0; i < midiCount; i += 2) {
        VstEvents block{};
        block.numEvents = static_cast<VstInt32>(std::min<std::uint32_t>(2, midiCount - i));
        for (VstInt32 j = 0; j < block.numEvents; ++j) {
            midi[i + j].deltaFrames = static_cast<VstInt32>(midiFrames[i + j] - processed);
            block.events[j] = reinterpret_cast<VstEvent*>(&midi[i + j]);
        }
        plugin->processEvents(&block);
    }
    midiCount = 0;

    const auto at = [this](const float* channel) {
        return channel ? const_cast<float*>(channel) + processed : nullptr;
    };
    float* in[2] = {at(audioIn[0]), at(audioIn[1])};
    float* out[2] = {at(audioOut[0]), at(audioOut[1])};
    const std::uint32_t frames = end - processed;
    plugin->processReplacing(in, out, static_cast<VstInt32>(frames));
    clock.advance(frames);
    processed = end;
}

void Lv2Effect::run(std::uint32_t frames) noexcept {
    applyControls();
    processed = 0;
    midiCount = 0;
    // A time position splits the block, so the effect sees the new tempo or
    // transport from its frame on. Events past the block are skipped; one
    // earlier than the one before it counts from where processing stands.
    atomreader::forEachEvent(events, [&](std::int64_t time, const LV2_Atom& atom) {
        if (time >= static_cast<std::int64_t>(frames)) return;
        const std::uint32_t at = std::max<std::int64_t>(time, processed);
        if (atom.type != 0 && atom.type == urids.midiEvent) {
            queueMidi(at, atom);
            return;
        }
        TimePosition position;
        if (!atomreader::readTimePosition(atom, urids, position)) return;
        processUntil(at);
        clock.apply(position);
    });
    processUntil(frames);
    midiCount = 0;
}

VstIntPtr Lv2Effect::hostCallback(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    // Before the constructor above has registered itself, the effect is
    // still being built and gets the answers of a host with nothing to say.
    auto* self = record ? reinterpret_cast<Lv2Effect*>(record->resvd1) : nullptr;
    // Read only for the editor's calls, on the UI thread that sets it: the
    // audio thread asks for the time.
    const auto link = [self] { return self ? self->editorLink : nullptr; };
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        case audioMasterAutomate:
            if (EditorLink* ui = link()) ui->automate(index, opt);
            return 1;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            if (EditorLink* ui = link()) ui->gesture(index, opcode == audioMasterBeginEdit);
            return 1;
        // Sent after a program change; without a UI, LV2 gives the effect no
        // way to move its input ports.
        case audioMasterUpdateDisplay:
            if (EditorLink* ui = link()) ui->parametersChanged();
            return 1;
        case audioMasterGetTime: return self ? reinterpret_cast<VstIntPtr>(&self->clock.timeInfo()) : 0;
        case audioMasterGetSampleRate: return self ? static_cast<VstIntPtr>(self->plugin->getSampleRate()) : 0;
        default: return 0;
    }
}
