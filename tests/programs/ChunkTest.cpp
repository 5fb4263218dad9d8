#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>

#include "plugin/uPluginPresetsBanks.h"
#include "tests/plugin/PluginTestSupport.h"

namespace {

constexpr VstInt32 kChunkBytes = 2032;

ProgramRecord presetChunk(VstInt32 preset) {
    ProgramRecord record{};
    std::memcpy(record.values, FACTORY_PRESETS[preset].data(), sizeof record.values);
    return record;
}

class Chunks : public ::testing::Test {
protected:
    IsolatedHome home;
    TestPlugin source{"", "Prop Audio"};
    TestPlugin target{"", "prop"};

    ProgramRecord chunkOf(TestPlugin& plugin, bool isPreset = false) {
        void* data = nullptr;
        EXPECT_EQ(plugin.getChunk(&data, isPreset), kChunkBytes);
        return data ? *static_cast<ProgramRecord*>(data) : ProgramRecord{};
    }
};

}  // namespace

TEST(ChunkHosts, OfferedAndTakenOnlyWhereTheTableSays) {
    IsolatedHome home;
    struct Case { const char* product; const char* vendor; bool flag, bank, program; };
    const Case cases[] = {{"MASCHINE HOST", "", true, true, false},   {"Maschine Host", "PROP", true, true, false},
                          {"Maschine Host 2", "", false, false, false}, {"Kore 2", "", true, false, false},
                          {"kOrE", "KTLM", true, false, false},         {"Lumenhall", "", true, true, false},
                          {"LUMENHALL", "Property", true, true, true},  {"Default", "pRoP", true, true, true},
                          {"Default", "KTLM", false, false, false},     {"Ardour", "Pro", false, false, false}};
    for (const Case& c : cases) {
        TestPlugin plugin(c.product, c.vendor);
        EXPECT_EQ((plugin.getAeffect()->flags & effFlagsProgramChunks) != 0, c.flag) << c.product;
        for (bool isPreset : {false, true}) {
            const bool offered = isPreset ? c.program : c.bank;
            void* data = nullptr;
            EXPECT_EQ(plugin.getChunk(&data, isPreset), offered ? kChunkBytes : 0) << c.product << isPreset;
            ProgramRecord chunk = presetChunk(33);
            const auto before = plugin.values();
            EXPECT_EQ(plugin.setChunk(&chunk, kChunkBytes, isPreset), 1);
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

    chunk.values[Param::WetVolume] = std::numeric_limits<float>::quiet_NaN();
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

TEST(HostWheel, ReachesAnEditorOnlyAsTheWheelMessage) {
    struct WheelEditor : AEffEditor {
        bool onWheel(float distance) override { return distance > 0.0f; }
    } wheel;
    IsolatedHome home;
    TestPlugin plugin{"", ""};
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

// As a host meets them: through Tidewalker.so's record.
TEST(ProgramsAbi, NamesAndChunksThroughTheRecord) {
    IsolatedHome home;
    LoadedPlugin loaded;
    AEffect* plain = loaded.create();
    ASSERT_NE(plain, nullptr) << dlerror();
    hostVendor = "PROPELLER";
    AEffect* from = loaded.create();
    AEffect* to = loaded.create();

    char text[64] = "untouched";
    EXPECT_EQ(call(plain, effGetProgramNameIndexed, 1, 0, text), 0);
    EXPECT_EQ(call(plain, effGetProgramNameIndexed, 0, 3, text), 1);
    EXPECT_STREQ(text, "Default");
    void* data = nullptr;
    EXPECT_EQ(call(plain, effGetChunk, 0, 0, &data), 0);
    EXPECT_EQ(plain->flags & effFlagsProgramChunks, 0);
    EXPECT_NE(from->flags & effFlagsProgramChunks, 0);

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
