// Command-line options of tidewalker-render: what to load, what to feed it,
// and the DAW situation (tempo, transport, presses, controllers) to reproduce.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace render {

// A parameter given on the command line, by the name the effect reports or by
// its slot index; resolved against the loaded effect.
struct ParameterSetting {
    std::string parameter;
    float value = 0.0f;  // normalised 0..1
};

struct ControllerMessage {
    double seconds = 0.0;
    int channel = 1;  // 1..16, as users count them
    int controller = 0;
    int value = 0;
};

enum class PluginFormat { Vst, AudioUnit };

struct Options {
    std::string inputPath;  // empty: the built-in demo
    std::string outputPath;  // empty: derived from the input
    std::string pluginPath;  // empty: searched
    PluginFormat format = PluginFormat::Vst;
    int blockSize = 512;
    double tempo = 120.0;
    double playAtSeconds = 0.0;
    std::optional<double> stopAtSeconds;
    double tailSeconds = 2.0;
    std::uint32_t seed = 1;  // of the effect's random LFO wave: the same render every time
    std::optional<int> preset;  // factory preset number, applied before the settings
    std::vector<ParameterSetting> settings;
    std::vector<double> triggerSeconds;
    std::vector<ControllerMessage> controllers;
    bool showHelp = false;
    bool showInfo = false;
    bool listParameters = false;
    bool listPresets = false;
    bool listAll = false;  // include the unnamed "~~~" slots
    std::vector<std::string> listOnly;  // names or indices to list
};

struct ParseResult {
    Options options;
    std::string error;  // empty on success
};

constexpr int kMaxBlockSize = 16384;
constexpr double kMaxSeconds = 86400.0;  // keeps frame counts far from overflow

// any
ParseResult parseOptions(const std::vector<std::string>& arguments);

// any
std::string usageText(const std::string& programName);

// The output file used when none is given: next to the input, or the demo's name.
// any
std::string defaultOutputPath(const std::string& inputPath);

}  // namespace render
