// Programs, the factory presets, the state chunk with its host table, and the
// wheel message, as the effect object and a host through the record meet them.
#include <bit>

#include "tests/plugin/PluginTestSupport.h"

namespace {

constexpr VstInt32 kChunkBytes = 2032;

class Programs : public HomeTest {
protected:
    TestPlugin plugin{"", ""};
};

class Chunks : public HomeTest {
protected:
    TestPlugin source{"", "Prop Audio"};
    TestPlugin target{"", "prop"};

    ProgramRecord chunkOf(TestPlugin& plugin, bool isPreset = false) {
        void* data = nullptr;
        EXPECT_EQ(plugin.getChunk(&data, isPreset), kChunkBytes);
        return data ? *static_cast<ProgramRecord*>(data) : ProgramRecord{};
    }
};

// A table value as a program applies it: switches snapped, the trigger released.
float applied(VstInt32 preset, VstInt32 slot) {
    const float v = FACTORY_PRESETS[preset][slot];
    if (slot == Param::ReverseTrigger) return 0.0f;
    return parameterIsSwitch(slot) ? (v >= 0.5f ? 1.0f : 0.0f) : v;
}

ProgramRecord presetChunk(VstInt32 preset) {
    ProgramRecord record{};
    std::memcpy(record.values, FACTORY_PRESETS[preset].data(), sizeof record.values);
    return record;
}

}  // namespace

TEST_F(Programs, FactoryPresetsLoadExactlyAndStepWithinTheBank) {
    for (auto [preset, name] : {std::pair{40, "Vocal weird 08"}, {46, "None"}, {-1, "None"}})
        EXPECT_STREQ(plugin.getPresetName(preset), name) << preset;
    plugin.setParameter(Param::WetVolume, 0.1f);
    plugin.setFactoryProgram(28);
    EXPECT_EQ(plugin.programName(), "Vocal 1bar clean");
    EXPECT_FALSE(plugin.getEditChanged());
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        ASSERT_EQ(plugin.getParameter(i), applied(28, i)) << i;
        ASSERT_EQ(plugin.slots.origValues[i], applied(28, i)) << i;
    }
    for (VstInt32 ignored : {-1, 46, INT_MIN}) plugin.setFactoryProgram(ignored);
    EXPECT_EQ(plugin.factoryIndex, 28);

    for (auto [delta, landing] : {std::pair{-28, 0}, {-1, 0}, {3, 3}, {INT_MAX, 45}, {1, 45}, {INT_MIN, 0}}) {
        plugin.changeFactoryProgramDelta(delta);
        EXPECT_EQ(plugin.factoryIndex, landing) << delta;
    }
}

TEST_F(Programs, RevertCommandsAndTheDefaultPreset) {
    plugin.setFactoryProgram(5);
    const float preset = applied(5, Param::WetVolume), moved = preset > 0.5f ? 0.1f : 0.9f;
    plugin.setParameter(Param::WetVolume, moved);
    EXPECT_TRUE(plugin.getEditChanged());
    plugin.origProgram();
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), preset);
    EXPECT_FALSE(plugin.getEditChanged());
    plugin.editProgram();
    EXPECT_EQ(plugin.slots.programs[0].values[Param::WetVolume], moved);
    EXPECT_TRUE(plugin.getEditChanged());

    // "Default Preset" keeps the name codes, so the program still knows its preset.
    plugin.defaultProgram();
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.8f);
    plugin.setProgram(0);
    EXPECT_EQ(plugin.programName(), "Drums & Perc 05");
}

TEST_F(Programs, OffsetLockBusyEditorAndOtherProgramNumbers) {
    plugin.setLockOffset(true);
    plugin.chain.lockedOffsetValue = 0.3f;
    plugin.setFactoryProgram(45);
    EXPECT_EQ(plugin.getParameter(Param::ReverseOffset), 0.3f);
    plugin.setLockOffset(false);

    plugin.setParameter(Param::WetVolume, 0.05f);
    plugin.slots.programs[0].values[PRESET_NAME_SLOT] = 0.0f;  // no name: would read as "Default"
    plugin.setEditorBusy(true);
    plugin.setProgram(0);
    EXPECT_TRUE(plugin.getEditChanged());
    EXPECT_EQ(plugin.programName(), "Voice Mad");
    plugin.setEditorBusy(false);
    plugin.setProgram(1);
    EXPECT_FALSE(plugin.getEditChanged());
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.05f);
}

TEST_F(Programs, ARawRecordGoesLiveAsSetParameterStoresAndCutsAManualTake) {
    plugin.setParameter(Param::ReverseTriggerMode, 0.5f);  // "Manual"
    plugin.setParameter(Param::ReverseTrigger, 1.0f);
    std::vector<float> in(64, 0.5f), out(64);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data()};
    plugin.processReplacing(ins, outs, 64);
    ASSERT_TRUE(plugin.getReverseManualTrigger());

    for (auto [slot, raw] : {std::pair{Param::Mute, 0.7f}, {Param::WetVolume, kNaN}, {Param::DryVolume, -5.0f},
                             {Param::ReverseTrigger, 1.0f}})
        plugin.slots.programs[0].values[slot] = raw;
    plugin.setProgram(0);
    EXPECT_FALSE(plugin.getEditChanged());  // a snapped switch is no edit
    for (auto [slot, value] : {std::pair{Param::Mute, 1.0f}, {Param::WetVolume, 0.0f}, {Param::DryVolume, 0.0f},
                               {Param::ReverseTrigger, 0.0f}}) {
        EXPECT_EQ(plugin.getParameter(slot), value) << slot;
        EXPECT_EQ(plugin.slots.origValues[slot], value) << slot;
    }
    plugin.processReplacing(ins, outs, 64);
    EXPECT_FALSE(plugin.getReverseManualTrigger());
}

TEST_F(Programs, AFactoryPresetLeavesNoManualTakeLatchedWhateverItsTriggerMode) {
    std::vector<float> in(64, 0.5f), out(64);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data()};
    for (VstInt32 mode : {TriggerMode::Audio, TriggerMode::Manual, TriggerMode::Host}) {
        VstInt32 preset = 0;
        while (preset < FACTORY_PRESET_COUNT &&
               getSteppedValue(FACTORY_PRESETS[preset][Param::ReverseTriggerMode], kTriggerModeSteps.scale,
                               kTriggerModeSteps.count) != mode)
            ++preset;
        if (preset == FACTORY_PRESET_COUNT) continue;
        plugin.setParameter(Param::ReverseTriggerMode, 0.5f);  // "Manual"
        plugin.setParameter(Param::ReverseTrigger, 1.0f);
        plugin.processReplacing(ins, outs, 64);
        ASSERT_TRUE(plugin.getReverseManualTrigger()) << mode;
        plugin.setFactoryProgram(preset);
        plugin.processReplacing(ins, outs, 64);
        EXPECT_FALSE(plugin.getReverseManualTrigger()) << "preset " << preset;
    }
}

TEST_F(Programs, ChunksAreOfferedAndTakenOnlyWhereTheHostTableSays) {
    struct Case { const char* product; const char* vendor; bool flag, bank, program; };
    const Case cases[] = {{"MASCHINE HOST", "", true, true, false},   {"Maschine Host", "PROP", true, true, false},
                          {"Maschine Host 2", "", false, false, false}, {"Kore 2", "", true, false, false},
                          {"kOrE", "KTLM", true, false, false},         {"Lumenhall", "", true, true, false},
                          {"LUMENHALL", "Property", true, true, true},  {"Default", "pRoP", true, true, true},
                          {"Default", "KTLM", false, false, false},     {"Ardour", "Pro", false, false, false}};
    for (const Case& c : cases) {
        TestPlugin plugin(c.product, c.vendor);
        EXPECT_EQ((plugin.getAeffect()->flags & effFlagsProgramChunks) != 0, c.flag) << c.product;
        // Through the opcodes, whose index says program (1) or bank (0).
        for (VstInt32 isPreset : {0, 1}) {
            const bool offered = isPreset ? c.program : c.bank;
            void* data = nullptr;
            EXPECT_EQ(plugin.dispatcher(effGetChunk, isPreset, 0, &data, 0.0f), offered ? kChunkBytes : 0)
                << c.product << isPreset;
            ProgramRecord chunk = presetChunk(33);
            const auto before = plugin.values();
            EXPECT_EQ(plugin.dispatcher(effSetChunk, isPreset, kChunkBytes, &chunk, 0.0f), 1);
            EXPECT_EQ(plugin.programName(), offered ? "Vocal Weird 01" : "Default") << c.product << isPreset;
            EXPECT_TRUE(offered || plugin.values() == before) << c.product;
            plugin.setFactoryProgram(0);
        }
    }
}

TEST_F(Chunks, AllValuesMoveBitForBitAndTheCodedNameIsReported) {
    for (VstInt32 i = 0; i < kNumParameters; ++i) source.setParameter(i, std::fmod(i * 0.6180339f, 1.0f));
    source.setParameter(Param::ReverseTrigger, 1.0f);
    ProgramRecord chunk = chunkOf(source, true);
    const ProgramRecord bank = chunkOf(source, false);
    EXPECT_EQ(std::memcmp(&chunk, &bank, sizeof chunk), 0);
    std::strcpy(chunk.name, "Moved");
    target.setChunk(&chunk, kChunkBytes, false);
    const auto moved = target.values(), original = source.values();
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        const float expected = i == Param::ReverseTrigger ? 0.0f : original[i];
        ASSERT_EQ(std::bit_cast<std::uint32_t>(moved[i]), std::bit_cast<std::uint32_t>(expected)) << i;
    }
    EXPECT_FALSE(target.getEditChanged());
    EXPECT_STREQ(chunkOf(target).name, "Moved");

    chunk = presetChunk(30);
    std::strcpy(chunk.name, "anything");
    target.setChunk(&chunk, kChunkBytes, true);
    EXPECT_EQ(target.programName(), "Vocal HP Move");
}

TEST_F(Chunks, ShortNullAndBadChunksNeitherOverreadNorComeBack) {
    target.setFactoryProgram(9);
    ProgramRecord chunk = presetChunk(28);
    for (VstInt32 size : {kChunkBytes - 1, 0, -kChunkBytes}) EXPECT_EQ(target.setChunk(&chunk, size, false), 1);
    EXPECT_EQ(target.setChunk(nullptr, kChunkBytes, false), 1);
    EXPECT_EQ(target.programName(), "Drums & Perc 09");

    chunk.values[Param::WetVolume] = kNaN;
    chunk.values[Param::ReverseLength] = -5.0f;
    std::memset(chunk.name, 'A', sizeof chunk.name);  // no terminator
    target.setChunk(&chunk, kChunkBytes, false);
    target.setParameter(Param::WetVolume, 0.5f);
    target.origProgram();
    for (VstInt32 slot : {Param::WetVolume, Param::ReverseLength}) {
        EXPECT_EQ(target.getParameter(slot), 0.0f) << slot;
        EXPECT_EQ(chunkOf(target).values[slot], 0.0f) << slot;
    }
    EXPECT_EQ(std::string(chunkOf(target).name), std::string(31, 'A'));

    // Handing back the effect's own buffer is a copy onto itself.
    void* own = nullptr;
    target.getChunk(&own, false);
    target.setFactoryProgram(1);
    target.setChunk(own, kChunkBytes, false);
    EXPECT_EQ(target.programName(), "Vocal 1bar clean");
}

TEST_F(Programs, TheHostWheelReachesAnEditorOnlyAsTheWheelMessage) {
    struct WheelEditor : AEffEditor {
        bool onWheel(float distance) override { return distance > 0.0f; }
    } wheel;
    AEffEditor* own = plugin.getEditor();
    const VstInt32 stca = fourCharCode("stCA"), whee = fourCharCode("Whee");
    for (AEffEditor* editor : {static_cast<AEffEditor*>(&wheel), static_cast<AEffEditor*>(nullptr)}) {
        plugin.setEditor(editor);
        EXPECT_EQ(plugin.dispatcher(effVendorSpecific, stca, whee, nullptr, 2.5f), editor ? 1 : 0);
        EXPECT_EQ(plugin.vendorSpecific(stca, whee, nullptr, -1.0f), 0);
        EXPECT_EQ(plugin.vendorSpecific(whee, stca, nullptr, 1.0f), 0);
    }
    plugin.setEditor(own);
}

TEST_F(Programs, NamesAndChunksThroughTheRecord) {
    LoadedPlugin loaded;
    AEffect* plain = loaded.create();
    ASSERT_NE(plain, nullptr) << dlerror();
    hostVendor = "PROPELLER";
    AEffect* from = loaded.create();
    AEffect* to = loaded.create();

    char text[64] = "untouched";
    EXPECT_EQ(call(plain, effGetProgramNameIndexed, 1, 0, text), 0);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(call(plain, effGetProgramNameIndexed, 0, 3, text), 1);
    EXPECT_STREQ(text, "Default");
    void* data = nullptr;
    EXPECT_EQ(call(plain, effGetChunk, 0, 0, &data), 0);

    // A host restoring preset 29 by its values: the effect knows it by its coded name.
    const char* name = "Vocal a Duck";
    for (int i = 0; name[i]; ++i) from->setParameter(from, 160 + i, (static_cast<float>(name[i]) + 0.5f) / 255.99f);
    call(from, effSetProgram);
    from->setParameter(from, 3, 0.123f);
    ASSERT_EQ(call(from, effGetChunk, 1, 0, &data), kChunkBytes);
    EXPECT_EQ(call(to, effSetChunk, 1, kChunkBytes, data), 1);
    call(to, effGetProgramName, 0, 0, text);
    EXPECT_STREQ(text, "Vocal a Duck");
    for (VstInt32 i = 0; i < to->numParams; ++i) ASSERT_EQ(to->getParameter(to, i), from->getParameter(from, i)) << i;
    EXPECT_EQ(call(plain, effSetChunk, 0, kChunkBytes, data), 1);
    EXPECT_NE(plain->getParameter(plain, 3), 0.123f);
    for (AEffect* e : {plain, from, to}) call(e, effClose);
}
