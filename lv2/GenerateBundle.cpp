// Writes the bundle description (manifest.ttl, Tidewalker.ttl, presets.ttl)
// from the parameter table and the factory bank at build time, so what hosts
// read can never drift from the code.
//   tidewalker-lv2-ttl OUTPUT_FOLDER BINARY_NAME MINOR_VERSION MICRO_VERSION
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "lv2/HostUrids.h"
#include "lv2/PortLayout.h"
#include "plugin/APlugin.h"
#include "plugin/uPluginPresetsBanks.h"

namespace {

constexpr const char* kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "tidewalker-lv2-ttl: %s\n", why.c_str());
    std::exit(1);
}

// A float as a Turtle decimal that reads back as the same float.
std::string decimal(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed);
    std::string out(text, result.ptr);
    if (out.find('.') == std::string::npos) out += ".0";
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

// "LFO > LowPass Filter Frequency" -> "lfo_lowpass_filter_frequency".
std::string symbolOf(const std::string& name) {
    std::string symbol;
    for (const char c : name) {
        const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (word) symbol += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        else if (!symbol.empty() && symbol.back() != '_') symbol += '_';
    }
    while (!symbol.empty() && symbol.back() == '_') symbol.pop_back();
    return symbol;
}

std::string base64(const unsigned char* data, std::size_t size) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < size; i += 3) {
        const std::size_t left = size - i;
        const unsigned bits = (data[i] << 16) | (left > 1 ? data[i + 1] << 8 : 0) | (left > 2 ? data[i + 2] : 0);
        out += kDigits[(bits >> 18) & 63];
        out += kDigits[(bits >> 12) & 63];
        out += left > 1 ? kDigits[(bits >> 6) & 63] : '=';
        out += left > 2 ? kDigits[bits & 63] : '=';
    }
    return out;
}

std::string presetUri(int n) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02d", n);
    return std::string("<") + kPluginUri + "#preset-" + text + ">";
}

std::string presetName(int n) {
    char name[PRESET_NAME_LENGTH + 1];
    decodePresetText(&FACTORY_PRESETS[static_cast<std::size_t>(n)][PRESET_NAME_SLOT], PRESET_NAME_LENGTH, name);
    return name;
}

// A value as the effect keeps it: within 0..1, switches at 0 or 1.
float storedForm(VstInt32 slot, float value) {
    const float v = clampUnit(value);
    return parameterIsSwitch(slot) ? (getOnOff(v) ? 1.0f : 0.0f) : v;
}

std::string scalePoints(const ParameterRow& row) {
    std::string out;
    const bool onOff = row.kind != ParameterKind::Stepped;
    const VstInt32 count = onOff ? 2 : row.steps.count;
    for (VstInt32 k = 0; k < count; ++k) {
        const float value = onOff ? static_cast<float>(k) : std::min(1.0f, static_cast<float>(k) / row.steps.scale);
        const VstInt32 readBack = onOff ? (getOnOff(value) ? 1 : 0) : getSteppedValue(value, row.steps.scale, count);
        if (readBack != k) fail(std::string("the choice ") + row.choiceNames[k] + " does not read back");
        out += std::string(k == 0 ? "" : " ,\n") + "            [ rdfs:label " + quoted(row.choiceNames[k]) +
               " ; rdf:value " + decimal(value) + " ]";
    }
    return out;
}

std::string controlPort(std::uint32_t index, VstInt32 slot, std::set<std::string>& symbols) {
    const ParameterRow& row = parameterRow(slot);
    // Names that follow the filter mode are given as hosts first see them.
    const std::string name = parameterName(slot, 0);
    const std::string symbol = symbolOf(name);
    if (!symbols.insert(symbol).second) fail("two ports share the symbol " + symbol);

    std::ostringstream port;
    port << "        a lv2:InputPort , lv2:ControlPort ;\n"
         << "        lv2:index " << index << " ;\n"
         << "        lv2:symbol " << quoted(symbol) << " ;\n"
         << "        lv2:name " << quoted(name) << " ;\n"
         << "        lv2:default " << decimal(row.defaultValue) << " ;\n"
         << "        lv2:minimum 0.0 ;\n"
         << "        lv2:maximum 1.0";
    const bool isSwitch = row.kind == ParameterKind::Switch || (row.kind == ParameterKind::OnOff && !row.choiceNames);
    if (isSwitch) port << " ;\n        lv2:portProperty lv2:toggled";
    // The manual trigger is a button: hosts let it fall back after one block.
    if (slot == Param::ReverseTrigger) port << " , pprops:trigger";
    if (row.choiceNames && !isSwitch) port << " ;\n        lv2:portProperty lv2:enumeration";
    if (row.choiceNames) port << " ;\n        lv2:scalePoint\n" << scalePoints(row);
    return port.str();
}

std::string audioPort(std::uint32_t index, bool input, const char* symbol, const char* name) {
    std::ostringstream port;
    port << "        a lv2:AudioPort , " << (input ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n"
         << "        lv2:index " << index << " ;\n"
         << "        lv2:symbol " << quoted(symbol) << " ;\n"
         << "        lv2:name " << quoted(name);
    return port.str();
}

std::string pluginDescription(const char* minor, const char* micro) {
    std::ostringstream ttl;
    ttl << kPrefixes << "<" << kPluginUri << ">\n"
        << "    a lv2:Plugin , lv2:DelayPlugin ;\n"
        << "    doap:name \"Tidewalker\" ;\n"
        << "    doap:maintainer [ foaf:name \"Ola Marsk\" ] ;\n"
        << "    lv2:minorVersion " << minor << " ;\n"
        << "    lv2:microVersion " << micro << " ;\n"
        << "    lv2:optionalFeature urid:map , lv2:hardRTCapable ;\n"
        << "    lv2:extensionData state:interface ;\n"
        << "    ui:ui <" << kUiUri << "> ;\n"
        << "    lv2:port [\n"
        << audioPort(ports::kInLeft, true, "in_left", "In Left") << "\n    ] , [\n"
        << audioPort(ports::kInRight, true, "in_right", "In Right") << "\n    ] , [\n"
        << audioPort(ports::kOutLeft, false, "out_left", "Out Left") << "\n    ] , [\n"
        << audioPort(ports::kOutRight, false, "out_right", "Out Right") << "\n    ] , [\n"
        << "        a lv2:InputPort , atom:AtomPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports midi:MidiEvent , time:Position ;\n"
        << "        lv2:designation lv2:control ;\n"
        << "        lv2:portProperty lv2:connectionOptional ;\n"
        << "        lv2:index " << ports::kEvents << " ;\n"
        << "        lv2:symbol \"events\" ;\n"
        << "        lv2:name \"Events\"\n";
    std::set<std::string> symbols;
    const ports::ControlSlots slots = ports::controlSlots();
    for (std::uint32_t i = 0; i < ports::kControlCount; ++i)
        ttl << "    ] , [\n" << controlPort(ports::kFirstControl + i, slots[i], symbols) << "\n";
    ttl << "    ] .\n";
    return ttl.str();
}

std::string presets() {
    std::ostringstream ttl;
    ttl << kPrefixes;
    const ports::ControlSlots slots = ports::controlSlots();
    for (int n = 0; n < FACTORY_PRESET_COUNT; ++n) {
        const FactoryPreset& preset = FACTORY_PRESETS[static_cast<std::size_t>(n)];
        const std::string name = presetName(n);
        ttl << presetUri(n) << "\n"
            << "    a pset:Preset ;\n"
            << "    lv2:appliesTo <" << kPluginUri << "> ;\n"
            << "    rdfs:label " << quoted(name) << " ;\n"
            << "    lv2:port [\n";
        for (std::uint32_t i = 0; i < ports::kControlCount; ++i) {
            const VstInt32 slot = slots[i];
            const float stored = storedForm(slot, preset[static_cast<std::size_t>(slot)]);
            const float value = slot == Param::ReverseTrigger ? 0.0f : stored;
            ttl << (i == 0 ? "" : "    ] , [\n") << "        lv2:symbol " << quoted(symbolOf(parameterName(slot, 0)))
                << " ;\n        pset:value " << decimal(value) << "\n";
        }
        // The whole program too, so the effect knows which preset it holds.
        ProgramRecord record{};
        std::copy(preset.begin(), preset.end(), record.values);
        copyText(record.name, sizeof(record.name), name.c_str());
        ttl << "    ] ;\n"
            << "    state:state [\n"
            << "        <" << kProgramStateUri << "> "
            << quoted(base64(reinterpret_cast<const unsigned char*>(&record), sizeof(record))) << "^^xsd:base64Binary\n"
            << "    ] .\n\n";
    }
    return ttl.str();
}

std::string manifest(const char* binary) {
    std::ostringstream ttl;
    ttl << kPrefixes << "<" << kPluginUri << ">\n"
        << "    a lv2:Plugin ;\n"
        << "    lv2:binary <" << binary << "> ;\n"
        << "    rdfs:seeAlso <Tidewalker.ttl> .\n\n"
        // The editor needs the running effect itself for its displays and meters.
        << "<" << kUiUri << ">\n"
        << "    a ui:X11UI ;\n"
        << "    ui:binary <" << binary << "> ;\n"
        << "    lv2:requiredFeature ui:parent , <http://lv2plug.in/ns/ext/instance-access> ;\n"
        << "    lv2:optionalFeature ui:resize , ui:touch , ui:noUserResize ;\n"
        << "    lv2:extensionData ui:idleInterface .\n";
    for (int n = 0; n < FACTORY_PRESET_COUNT; ++n)
        ttl << "\n" << presetUri(n) << "\n"
            << "    a pset:Preset ;\n"
            << "    lv2:appliesTo <" << kPluginUri << "> ;\n"
            << "    rdfs:seeAlso <presets.ttl> .\n";
    return ttl.str();
}

void write(const std::string& folder, const char* file, const std::string& text) {
    std::ofstream out(folder + "/" + file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) fail(std::string("cannot write ") + folder + "/" + file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) fail("usage: tidewalker-lv2-ttl OUTPUT_FOLDER BINARY_NAME MINOR_VERSION MICRO_VERSION");
    write(argv[1], "manifest.ttl", manifest(argv[2]));
    write(argv[1], "Tidewalker.ttl", pluginDescription(argv[3], argv[4]));
    write(argv[1], "presets.ttl", presets());
    return 0;
}
