#include "tools/render/Options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string_view>

#include "tools/render/Presets.h"

namespace render {
namespace {

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<long> parseInteger(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseSeconds(const std::string& text) {
    const auto value = parseNumber(text);
    if (!value || *value < 0.0 || *value > kMaxSeconds) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) {
            return parts;
        }
        start = at + 1;
    }
}

std::string parseSetting(const std::string& text, Options& options) {
    const std::size_t at = text.rfind('=');
    if (at == std::string::npos || at == 0) {
        return "--set needs NAME=VALUE, got \"" + text + "\"";
    }
    const auto value = parseNumber(text.substr(at + 1));
    if (!value || *value < 0.0 || *value > 1.0) {
        return "--set value must be a number from 0 to 1, got \"" + text.substr(at + 1) + "\"";
    }
    options.settings.push_back({text.substr(0, at), static_cast<float>(*value)});
    return {};
}

std::string parseController(const std::string& text, Options& options) {
    const auto parts = split(text, ':');
    const std::string bad = "--cc needs SECONDS:CHANNEL:CONTROLLER:VALUE, got \"" + text + "\"";
    if (parts.size() != 4) {
        return bad;
    }
    const auto seconds = parseSeconds(parts[0]);
    const auto channel = parseInteger(parts[1]);
    const auto controller = parseInteger(parts[2]);
    const auto value = parseInteger(parts[3]);
    if (!seconds || !channel || !controller || !value) {
        return bad;
    }
    if (*channel < 1 || *channel > 16) {
        return "--cc channel must be 1..16, got " + parts[1];
    }
    if (*controller < 0 || *controller > 127 || *value < 0 || *value > 127) {
        return "--cc controller and value must be 0..127, got \"" + text + "\"";
    }
    options.controllers.push_back({*seconds, static_cast<int>(*channel), static_cast<int>(*controller),
                                   static_cast<int>(*value)});
    return {};
}

// Options that take a value; each returns an error text or empty.
using ValueHandler = std::function<std::string(const std::string&, Options&)>;

struct ValueOption {
    std::string_view name;
    ValueHandler handle;
};

const std::vector<ValueOption>& valueOptions() {
    static const std::vector<ValueOption> table = {
        {"--plugin", [](const std::string& v, Options& o) { o.pluginPath = v; return std::string(); }},
        {"--format",
         [](const std::string& v, Options& o) {
             if (v != "vst" && v != "au") return "--format must be vst or au, got \"" + v + "\"";
             o.format = v == "au" ? PluginFormat::AudioUnit : PluginFormat::Vst;
             return std::string();
         }},
        {"-o", [](const std::string& v, Options& o) { o.outputPath = v; return std::string(); }},
        {"--output", [](const std::string& v, Options& o) { o.outputPath = v; return std::string(); }},
        {"--block",
         [](const std::string& v, Options& o) {
             const auto n = parseInteger(v);
             if (!n || *n < 1 || *n > kMaxBlockSize) {
                 return "--block must be a whole number from 1 to " + std::to_string(kMaxBlockSize) +
                        ", got \"" + v + "\"";
             }
             o.blockSize = static_cast<int>(*n);
             return std::string();
         }},
        {"--tempo",
         [](const std::string& v, Options& o) {
             const auto bpm = parseNumber(v);
             if (!bpm || *bpm <= 0.0 || *bpm > 1000.0) {
                 return "--tempo must be above 0 and at most 1000 BPM, got \"" + v + "\"";
             }
             o.tempo = *bpm;
             return std::string();
         }},
        {"--play-at",
         [](const std::string& v, Options& o) {
             const auto s = parseSeconds(v);
             if (!s) {
                 return "--play-at needs seconds (0 or more), got \"" + v + "\"";
             }
             o.playAtSeconds = *s;
             return std::string();
         }},
        {"--stop-at",
         [](const std::string& v, Options& o) {
             const auto s = parseSeconds(v);
             if (!s) {
                 return "--stop-at needs seconds (0 or more), got \"" + v + "\"";
             }
             o.stopAtSeconds = *s;
             return std::string();
         }},
        {"--tail",
         [](const std::string& v, Options& o) {
             const auto s = parseSeconds(v);
             if (!s) {
                 return "--tail needs seconds (0 or more), got \"" + v + "\"";
             }
             o.tailSeconds = *s;
             return std::string();
         }},
        {"--seed",
         [](const std::string& v, Options& o) {
             const auto n = parseInteger(v);
             if (!n || *n < 0 || *n > 4294967295L) {
                 return "--seed must be a whole number from 0 to 4294967295, got \"" + v + "\"";
             }
             o.seed = static_cast<std::uint32_t>(*n);
             return std::string();
         }},
        {"--trigger",
         [](const std::string& v, Options& o) {
             const auto s = parseSeconds(v);
             if (!s) {
                 return "--trigger needs seconds (0 or more), got \"" + v + "\"";
             }
             o.triggerSeconds.push_back(*s);
             return std::string();
         }},
        {"--preset",
         [](const std::string& v, Options& o) {
             const auto preset = findPreset(v);
             if (!preset) {
                 return "no factory preset \"" + v + "\" (see --list-presets)";
             }
             o.preset = *preset;
             return std::string();
         }},
        {"--set", parseSetting},
        {"--cc", parseController},
    };
    return table;
}

const ValueOption* findValueOption(std::string_view name) {
    for (const auto& option : valueOptions()) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

ParseResult parseOptions(const std::vector<std::string>& arguments) {
    ParseResult result;
    Options& options = result.options;
    std::vector<std::string> positional;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            options.showHelp = true;
            continue;
        }
        if (argument == "--info") {
            options.showInfo = true;
            continue;
        }
        if (argument == "--list-params") {
            options.listParameters = true;
            continue;
        }
        if (argument == "--list-presets") {
            options.listPresets = true;
            continue;
        }
        if (argument == "--all") {
            options.listAll = true;
            continue;
        }

        std::string name = argument;
        std::optional<std::string> value;
        if (const std::size_t eq = argument.find('='); argument.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = argument.substr(0, eq);
            value = argument.substr(eq + 1);
        }
        const ValueOption* option = findValueOption(name);
        if (option == nullptr) {
            result.error = "unknown option " + name;
            return result;
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                result.error = name + " needs a value";
                return result;
            }
            value = arguments[++i];
        }
        if (std::string error = option->handle(*value, options); !error.empty()) {
            result.error = std::move(error);
            return result;
        }
    }

    if (options.listParameters) {
        options.listOnly = std::move(positional);
    } else if (positional.size() > 1) {
        result.error = "only one input file can be rendered at a time";
        return result;
    } else if (positional.size() == 1 && positional[0] == "-") {
        result.error = "audio cannot be read from standard input; give a file name";
        return result;
    } else if (positional.size() == 1) {
        options.inputPath = positional[0];
    }
    if (options.stopAtSeconds && *options.stopAtSeconds < options.playAtSeconds) {
        result.error = "--stop-at must not come before --play-at";
        return result;
    }
    return result;
}

std::string defaultOutputPath(const std::string& inputPath) {
    if (inputPath.empty()) {
        return "tidewalker-demo.wav";
    }
    const std::size_t slash = inputPath.rfind('/');
    const std::size_t dot = inputPath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? inputPath.substr(0, dot) : inputPath) + "-tidewalker.wav";
}

std::string usageText(const std::string& programName) {
    return "Usage: " + programName + R"( [OPTIONS] [INPUT]
       )" + programName + R"( --list-params [--all] [NAME|INDEX ...]
       )" + programName + R"( --info
       )" + programName + R"( --list-presets

Plays INPUT (WAV, FLAC, OGG; mono or stereo) through the Tidewalker effect the
way a DAW does and writes the result as a 32-bit float WAV file. Without INPUT
it renders a built-in 8-second demo (drum loop and chords at 120 BPM).

Input and output:
  -o, --output FILE    where to write (default: INPUT-tidewalker.wav next to the
                       input, or tidewalker-demo.wav for the demo); the file
                       appears only when the render succeeds and never replaces
                       the input
  --block N            frames per processing block, 1..16384 (default 512)
  --tail SECONDS       silence rendered after the input (default 2)
  --seed N             seed of the "S&H" LFO wave's random steps, 0..4294967295
                       (default 1): the same seed gives the same render

Plug-in:
  --plugin PATH        the effect to load; without it the first of these is used:
                         1. Tidewalker.so next to this program
                         2. plugin/Tidewalker.so below this program's folder
                         3. ~/.vst/Tidewalker.so
  --format vst|au      vst (default): load the plug-in through its VST entry;
                       au: drive Tidewalker's Audio Unit adapter, built into
                       this program, as an Audio Unit host does (--plugin is
                       not used); both give the same output
  --info               print what a host sees of the effect and exit
  --list-params        print index, name, value and display text of each named
                       parameter (after --set), or only of those given; exit
  --all                with --list-params: include unnamed slots ("~~~")
  --list-presets       print the number and name of each factory preset; exit

Parameters and the DAW situation:
  --preset NAME|NUMBER start from a factory preset, by its number (0 is
                       "Default") or its name; --set changes apply on top
  --set NAME=VALUE     set a parameter (normalised 0..1) before rendering, by
                       the name the effect reports or by slot index; repeatable,
                       applied in order, e.g. --set "Wet Volume=0.8"
  --tempo BPM          host tempo (default 120)
  --play-at SECONDS    transport starts playing in the block holding this time
                       (default 0: playing from the start)
  --stop-at SECONDS    transport stops in the block holding this time
  --trigger SECONDS    press "Reverse Trigger" in the block holding this time;
                       repeatable
  --cc S:CH:CC:VAL     MIDI controller message at S seconds, channel 1..16,
                       controller and value 0..127; repeatable
  -h, --help           this text

Exit status: 0 on success, 1 when loading, reading, rendering or writing fails,
2 for bad options, 130 when interrupted.
)";
}

}  // namespace render
