// A host's side of the LV2 glue for tests: a URID map, event sequences
// written with the SDK's forge, and an instance with its ports connected.
#pragma once

#include <lv2/atom/forge.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lv2/Lv2Effect.h"

struct UridMap {
    std::vector<std::string> uris;
    LV2_URID_Map map{this, [](LV2_URID_Map_Handle handle, const char* uri) -> LV2_URID {
                         auto& list = static_cast<UridMap*>(handle)->uris;
                         for (std::size_t i = 0; i < list.size(); ++i)
                             if (list[i] == uri) return static_cast<LV2_URID>(i + 1);
                         list.emplace_back(uri);
                         return static_cast<LV2_URID>(list.size());
                     }};
    LV2_Feature feature{LV2_URID__map, &map};
    const LV2_Feature* features[2] = {&feature, nullptr};
    LV2_URID operator()(const char* uri) { return map.map(this, uri); }
};

// One block's event sequence.
struct Sequence {
    alignas(8) std::uint8_t buffer[8192] = {};
    LV2_Atom_Forge forge{};
    LV2_Atom_Forge_Frame frame{};
    UridMap& urids;

    explicit Sequence(UridMap& map) : urids(map) {
        lv2_atom_forge_init(&forge, &map.map);
        clear();
    }
    void clear() {
        std::memset(buffer, 0, sizeof(buffer));
        lv2_atom_forge_set_buffer(&forge, buffer, sizeof(buffer));
        lv2_atom_forge_sequence_head(&forge, &frame, 0);
    }
    const LV2_Atom_Sequence* atoms() const { return reinterpret_cast<const LV2_Atom_Sequence*>(buffer); }
    LV2_Atom_Sequence* atoms() { return reinterpret_cast<LV2_Atom_Sequence*>(buffer); }

    void midi(std::int64_t frame, std::vector<std::uint8_t> bytes) {
        lv2_atom_forge_frame_time(&forge, frame);
        lv2_atom_forge_atom(&forge, static_cast<uint32_t>(bytes.size()), urids(LV2_MIDI__MidiEvent));
        lv2_atom_forge_write(&forge, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    // bar and beat as the host counts them, tempo and speed.
    void position(std::int64_t frame, double bpm, float speed, std::int64_t bar = 0, float barBeat = 0.0f,
                  std::int64_t hostFrame = 0) {
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_frame_time(&forge, frame);
        lv2_atom_forge_object(&forge, &object, 0, urids(LV2_TIME__Position));
        lv2_atom_forge_key(&forge, urids(LV2_TIME__frame));
        lv2_atom_forge_long(&forge, hostFrame);
        lv2_atom_forge_key(&forge, urids(LV2_TIME__speed));
        lv2_atom_forge_float(&forge, speed);
        lv2_atom_forge_key(&forge, urids(LV2_TIME__bar));
        lv2_atom_forge_long(&forge, bar);
        lv2_atom_forge_key(&forge, urids(LV2_TIME__barBeat));
        lv2_atom_forge_float(&forge, barBeat);
        lv2_atom_forge_key(&forge, urids(LV2_TIME__beatsPerBar));
        lv2_atom_forge_float(&forge, 4.0f);
        lv2_atom_forge_key(&forge, urids(LV2_TIME__beatUnit));
        lv2_atom_forge_int(&forge, 4);
        lv2_atom_forge_key(&forge, urids(LV2_TIME__beatsPerMinute));
        lv2_atom_forge_double(&forge, bpm);
        lv2_atom_forge_pop(&forge, &object);
    }
};

// An instance with stereo buffers, every control at its default and the event port connected.
struct Instance {
    static constexpr std::uint32_t kFrames = 64;
    UridMap urids;
    Lv2Effect glue{44100.0, urids.features};
    float in[2][kFrames] = {};
    float out[2][kFrames] = {};
    float controls[ports::kControlCount] = {};
    Sequence events{urids};

    Instance() {
        const ports::ControlSlots slots = ports::controlSlots();
        for (std::uint32_t i = 0; i < ports::kControlCount; ++i) {
            controls[i] = parameterRow(slots[i]).defaultValue;
            glue.connect(ports::kFirstControl + i, &controls[i]);
        }
        glue.connect(ports::kInLeft, in[0]);
        glue.connect(ports::kInRight, in[1]);
        glue.connect(ports::kOutLeft, out[0]);
        glue.connect(ports::kOutRight, out[1]);
        glue.connect(ports::kEvents, events.atoms());
        glue.activate();
    }
    float& control(VstInt32 slot) {
        const ports::ControlSlots slots = ports::controlSlots();
        for (std::uint32_t i = 0; i < ports::kControlCount; ++i)
            if (slots[i] == slot) return controls[i];
        std::abort();
    }
    // Runs one block with the events written so far, then starts a new sequence.
    void run(std::uint32_t frames = kFrames) {
        glue.run(frames);
        events.clear();
    }
};
