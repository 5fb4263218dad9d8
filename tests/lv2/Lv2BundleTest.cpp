// The built bundle as hosts see it: read and instantiated through lilv, and
// through lilv's command-line tools, whose render must equal the renderer's.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/core/lv2.h>
#include <lv2/presets/presets.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/lv2/Lv2TestSupport.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/Shell.h"
#include "tests/tools/Support.h"
#include "tools/render/DemoSignal.h"

namespace {

using tidewalker::testing::shell;

// A node that frees itself.
struct Node {
    LilvNode* node;
    explicit Node(LilvNode* made) : node(made) {}
    ~Node() { lilv_node_free(node); }
    operator const LilvNode*() const { return node; }
};

struct BundleTest : ::testing::Test {
    IsolatedHome home;
    UridMap urids;
    LilvWorld* world = lilv_world_new();
    const LilvPlugin* plugin = nullptr;

    void SetUp() override {
        const Node bundle(lilv_new_file_uri(world, nullptr, TIDEWALKER_LV2_BUNDLE "/"));
        lilv_world_load_bundle(world, bundle);
        const Node uri(lilv_new_uri(world, kPluginUri));
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        ASSERT_NE(plugin, nullptr);
    }
    void TearDown() override { lilv_world_free(world); }

    Node uri(const char* text) const { return Node(lilv_new_uri(world, text)); }
};

// (value, label) of a port's scale points, lowest value first.
std::vector<std::pair<float, std::string>> scalePoints(const LilvPlugin* plugin, const LilvPort* port) {
    std::vector<std::pair<float, std::string>> points;
    LilvScalePoints* all = lilv_port_get_scale_points(plugin, port);
    LILV_FOREACH (scale_points, i, all) {
        const LilvScalePoint* point = lilv_scale_points_get(all, i);
        points.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                            lilv_node_as_string(lilv_scale_point_get_label(point)));
    }
    lilv_scale_points_free(all);
    std::ranges::sort(points);
    return points;
}

TEST_F(BundleTest, EveryParameterIsAPortWithItsNameDefaultAndKind) {
    const Node name(lilv_plugin_get_name(plugin));
    EXPECT_STREQ(lilv_node_as_string(name), "Tidewalker");
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), ports::kFirstControl + ports::kControlCount);
    const LilvPort* events = lilv_plugin_get_port_by_index(plugin, ports::kEvents);
    EXPECT_TRUE(lilv_port_supports_event(plugin, events, uri(LV2_MIDI__MidiEvent)));
    EXPECT_TRUE(lilv_port_supports_event(plugin, events, uri(LV2_TIME__Position)));

    for (const VstInt32 slot : ports::controlSlots()) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, ports::portOfSlot(slot));
        const Node portName(lilv_port_get_name(plugin, port));
        EXPECT_STREQ(lilv_node_as_string(portName), parameterName(slot, 0));
        LilvNode *deflt = nullptr, *min = nullptr, *max = nullptr;
        lilv_port_get_range(plugin, port, &deflt, &min, &max);
        EXPECT_EQ(std::tuple(lilv_node_as_float(deflt), lilv_node_as_float(min), lilv_node_as_float(max)),
                  std::tuple(parameterRow(slot).defaultValue, 0.0f, 1.0f)) << slot;
        for (LilvNode* node : {deflt, min, max}) lilv_node_free(node);
    }

    // As a host's generic view shows them: switches as toggles, choices as menus.
    const Node toggled = uri(LV2_CORE__toggled), enumeration = uri(LV2_CORE__enumeration);
    const auto port = [this](VstInt32 slot) { return lilv_plugin_get_port_by_index(plugin, ports::portOfSlot(slot)); };
    for (const VstInt32 slot : {Param::Bypass, Param::DryMute, Param::FilterMode, Param::ReverseTrigger})
        EXPECT_TRUE(lilv_port_has_property(plugin, port(slot), toggled)) << slot;
    EXPECT_FALSE(lilv_port_has_property(plugin, port(Param::LfoMode), toggled));
    EXPECT_EQ(scalePoints(plugin, port(Param::LfoMode)),
              (std::vector<std::pair<float, std::string>>{{0.0f, "Free"}, {1.0f, "Triggered"}}));
    for (const VstInt32 slot : {Param::ReverseTriggerMode, Param::LfoMode, Param::LfoWave, Param::LfoPhase}) {
        EXPECT_TRUE(lilv_port_has_property(plugin, port(slot), enumeration)) << slot;
        const ParameterRow& row = parameterRow(slot);
        VstInt32 step = 0;
        for (const auto& [value, label] : scalePoints(plugin, port(slot))) {
            EXPECT_EQ(label, row.choiceNames[step]);
            const VstInt32 read = slot == Param::LfoMode ? VstInt32{getOnOff(value)}
                                                         : getSteppedValue(value, row.steps.scale, row.steps.count);
            EXPECT_EQ(read, step++) << label;
        }
        EXPECT_EQ(step, slot == Param::LfoMode ? 2 : row.steps.count);
    }
}

// The program record an instance saves through its state interface.
ProgramRecord savedProgram(LilvInstance* instance, UridMap& urids) {
    const auto* state = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(instance, LV2_STATE__interface));
    ProgramRecord record{};
    if (!state) return record;
    std::string bytes;
    auto store = [](LV2_State_Handle handle, std::uint32_t, const void* value, std::size_t size, std::uint32_t,
                    std::uint32_t) {
        static_cast<std::string*>(handle)->assign(static_cast<const char*>(value), size);
        return LV2_STATE_SUCCESS;
    };
    state->save(lilv_instance_get_handle(instance), store, &bytes, 0, urids.features);
    if (bytes.size() == sizeof(record)) std::memcpy(&record, bytes.data(), sizeof(record));
    return record;
}

TEST_F(BundleTest, FactoryPresetsCarryTheirNamesAndPrograms) {
    LilvInstance* instance = lilv_plugin_instantiate(plugin, 44100.0, urids.features);
    ASSERT_NE(instance, nullptr);
    std::map<std::string, int> bank;
    for (int n = 0; n < FACTORY_PRESET_COUNT; ++n) {
        char name[PRESET_NAME_LENGTH + 1];
        decodePresetText(&FACTORY_PRESETS[n][PRESET_NAME_SLOT], PRESET_NAME_LENGTH, name);
        bank[name] = n;
    }

    LilvNodes* presets = lilv_plugin_get_related(plugin, uri(LV2_PRESETS__Preset));
    EXPECT_EQ(lilv_nodes_size(presets), static_cast<unsigned>(FACTORY_PRESET_COUNT));
    LILV_FOREACH (nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(world, preset);
        LilvState* state = lilv_state_new_from_world(world, &urids.map, preset);
        ASSERT_NE(state, nullptr);
        const std::string label = lilv_state_get_label(state);
        ASSERT_TRUE(bank.contains(label)) << label;
        const FactoryPreset& values = FACTORY_PRESETS[bank[label]];
        lilv_state_restore(state, instance, nullptr, nullptr, 0, urids.features);
        const ProgramRecord program = savedProgram(instance, urids);
        EXPECT_STREQ(program.name, label.c_str());
        for (const int slot : {int{Param::WetVolume}, int{Param::LfoWave}, PRESET_NAME_SLOT})
            EXPECT_EQ(program.values[slot], values[slot]) << label << " slot " << slot;
        lilv_state_free(state);
    }
    lilv_nodes_free(presets);
    lilv_instance_free(instance);
}

TEST(Lv2Tools, ListTheBundleAndRenderAsTheRendererDoes) {
#ifdef TIDEWALKER_SANITIZED_BUILD
    GTEST_SKIP() << "lilv's tools cannot load a sanitized plug-in";
#endif
    if (shell("command -v lv2apply").empty()) GTEST_SKIP() << "lilv-utils is not installed";
    IsolatedHome home;
    const std::string path = "LV2_PATH='" + std::filesystem::path(TIDEWALKER_LV2_BUNDLE).parent_path().string() + "' ";
    EXPECT_NE(shell(path + "lv2ls").find(kPluginUri), std::string::npos);
    const std::string info = shell(path + "lv2info " + kPluginUri);
    EXPECT_NE(info.find("Port 38:"), std::string::npos) << info;
    EXPECT_NE(info.find("Drums & Perc Nasty"), std::string::npos);

    render::testing::TempFolder folder;
    const render::StereoBuffer demo = render::synthesizeDemo();
    const std::size_t frames = 3 * 44100;
    std::vector<float> input;
    for (std::size_t i = 0; i < frames; ++i) input.insert(input.end(), {demo.left[i], demo.right[i]});
    render::testing::writeTestFile(folder.file("in.wav"), 2, 44100, input);

    shell(path + "lv2apply -i " + folder.file("in.wav") + " -o " + folder.file("lv2.wav") +
          " -c lfo_wave 0.6 -c distort 0.4 -c reverse_trigger_threshold 0.5 " + kPluginUri);
    shell("'" TIDEWALKER_RENDER_PATH "' --plugin '" TIDEWALKER_PLUGIN_PATH "' --stop-at 0 --tail 0 "
          "--set 'LFO Wave=0.6' --set Distort=0.4 --set 'Reverse Trigger Threshold=0.5' -o " +
          folder.file("vst.wav") + " " + folder.file("in.wav"));
    const auto lv2 = render::testing::readTestFile(folder.file("lv2.wav")).interleaved;
    const auto vst = render::testing::readTestFile(folder.file("vst.wav")).interleaved;
    ASSERT_EQ(lv2.size(), input.size());
    EXPECT_TRUE(lv2 == vst) << "the LV2 path and the renderer differ";
    EXPECT_FALSE(lv2 == input) << "the effect did something";
}

}  // namespace
