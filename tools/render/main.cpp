// tidewalker-render: plays audio through Tidewalker.so as a DAW would and
// writes the result.
#include <signal.h>
#include <unistd.h>

#include <cinttypes>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tools/render/AudioFile.h"
#include "tools/render/DemoSignal.h"
#include "tools/render/Options.h"
#include "tools/render/AuEffectHost.h"
#include "tools/render/PluginHost.h"
#include "tools/render/PluginPath.h"
#include "tools/render/Presets.h"
#include "tools/render/Progress.h"
#include "tools/render/Render.h"
#include "tools/render/Timeline.h"

namespace {

using namespace render;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;
constexpr const char* kProgram = "tidewalker-render";

volatile std::sig_atomic_t interruptRequested = 0;

void onInterrupt(int) { interruptRequested = 1; }

// Ctrl-C ends the render between blocks, so the temporary file is removed.
void catchInterrupts() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return kExitFailure;
}

std::string trimRight(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

void printInfo(const EffectHost& host, const std::string& path) {
    const EffectInfo info = host.info();
    std::printf("Plug-in:        %s\n", path.c_str());
    std::printf("Effect name:    %s\n", info.effectName.c_str());
    std::printf("Vendor:         %s\n", info.vendor.c_str());
    std::printf("Product:        %s\n", info.product.c_str());
    std::printf("Program:        %s\n", info.programName.c_str());
    std::printf("Vendor version: %" PRIdPTR "\n", info.vendorVersion);
    std::printf("Version:        %d\n", info.version);
    std::printf("Unique ID:      %s (0x%08X)\n", fourCharText(info.uniqueId).c_str(),
                static_cast<unsigned>(info.uniqueId));
    std::printf("Programs:       %d\n", info.numPrograms);
    std::printf("Parameters:     %d\n", info.numParams);
    std::printf("Inputs/outputs: %d/%d\n", info.numInputs, info.numOutputs);
    std::printf("Flags:          0x%08X %s\n", static_cast<unsigned>(info.flags),
                effectFlagNames(info.flags).c_str());
    std::printf("Initial delay:  %d frames\n", info.initialDelay);
}

void printParameter(const EffectHost& host, int index) {
    const std::string text = trimRight(host.parameterDisplay(index) + host.parameterLabel(index));
    std::printf("%3d  %-34s %.4f  %s\n", index, host.parameterName(index).c_str(),
                static_cast<double>(host.parameter(index)), text.c_str());
}

bool listParameters(const EffectHost& host, const Options& options) {
    if (!options.listOnly.empty()) {
        for (const std::string& wanted : options.listOnly) {
            const auto index = host.findParameter(wanted);
            if (!index) {
                fail("the effect has no parameter \"" + wanted + "\"");
                return false;
            }
            printParameter(host, *index);
        }
        return true;
    }
    for (int i = 0; i < host.parameterCount(); ++i) {
        if (const std::string name = host.parameterName(i); options.listAll || (name != "~~~" && !name.empty())) {
            printParameter(host, i);
        }
    }
    return true;
}

bool applySettings(EffectHost& host, const Options& options) {
    // In order: a setting may rename later slots (the filter mode does).
    for (const ParameterSetting& setting : options.settings) {
        const auto index = host.findParameter(setting.parameter);
        if (!index) {
            fail("the effect has no parameter \"" + setting.parameter + "\" (see --list-params)");
            return false;
        }
        host.setParameter(*index, setting.value);
    }
    return true;
}

void warnAfterEnd(const Options& options, const Timeline& timeline, std::int64_t totalFrames) {
    for (const double seconds : options.triggerSeconds) {
        if (timeline.frameAt(seconds) >= totalFrames) {
            std::fprintf(stderr, "%s: warning: trigger at %g s is after the end of the render\n", kProgram, seconds);
        }
    }
    for (const ControllerMessage& message : options.controllers) {
        if (timeline.frameAt(message.seconds) >= totalFrames) {
            std::fprintf(stderr, "%s: warning: controller message at %g s is after the end of the render\n",
                         kProgram, message.seconds);
        }
    }
}

int run(const Options& options) {
    const bool renders = !options.showInfo && !options.listParameters;

    if (renders) {
        catchInterrupts();
    }
    std::unique_ptr<AudioSource> source;
    std::string error;
    if (renders && !options.inputPath.empty()) {
        source = SoundFileSource::open(options.inputPath, error);
        if (!source) {
            return fail(error);
        }
    } else if (renders) {
        source = std::make_unique<MemorySource>(synthesizeDemo());
    }
    const double sampleRate = source ? source->sampleRate() : kDemoSampleRate;

    std::unique_ptr<AtomicWavWriter> writer;
    std::string outputPath;
    if (renders) {
        outputPath = options.outputPath.empty() ? defaultOutputPath(options.inputPath) : options.outputPath;
        writer = AtomicWavWriter::create(outputPath, sampleRate, options.inputPath, error);
        if (!writer) {
            return fail(error);
        }
    }

    std::string pluginPath = options.pluginPath;
    std::unique_ptr<EffectHost> host;
    if (options.format == PluginFormat::AudioUnit) {
        pluginPath = "the Audio Unit adapter built into " + std::string(kProgram);
        host = AuEffectHost::load(sampleRate, options.blockSize, error);
    } else {
        if (pluginPath.empty()) {
            const auto candidates = pluginCandidates(programFolder(), std::getenv("HOME"));
            pluginPath = findPlugin(candidates);
            if (pluginPath.empty()) {
                std::string searched;
                for (const std::string& candidate : candidates) {
                    searched += "\n  " + candidate;
                }
                return fail("no Tidewalker.so found; give one with --plugin. Looked in:" + searched);
            }
        }
        host = PluginHost::load(pluginPath, sampleRate, options.blockSize, error);
    }
    if (!host) {
        return fail(error);
    }
    host->open();
    host->setRandomSeed(options.seed);
    host->resume();
    if (options.preset) {
        applyPreset(*host, *options.preset);
    }
    if (!applySettings(*host, options)) {
        return kExitFailure;
    }
    if (options.showInfo) {
        printInfo(*host, pluginPath);
    }
    if (options.listParameters && !listParameters(*host, options)) {
        return kExitFailure;
    }
    if (!renders) {
        return EXIT_SUCCESS;
    }

    RenderRequest request;
    request.tempo = options.tempo;
    request.tailFrames = static_cast<std::int64_t>(std::llround(options.tailSeconds * sampleRate));
    request.expectedFrames = std::max<std::int64_t>(source->frames(), 0) + request.tailFrames;
    if (!options.triggerSeconds.empty()) {
        const auto trigger = host->findParameter("Reverse Trigger");
        if (!trigger) {
            return fail("--trigger needs a \"Reverse Trigger\" parameter, and this effect has none");
        }
        request.triggerParameter = *trigger;
    }
    const Timeline timeline(options, sampleRate, options.blockSize);
    warnAfterEnd(options, timeline, request.expectedFrames);

    ProgressBar progress(stderr, ::isatty(STDERR_FILENO) == 1);
    request.progress = [&progress](std::int64_t done, std::int64_t total) { progress.update(done, total); };
    request.cancelled = [] { return interruptRequested != 0; };

    const RenderResult result = renderBlocks(*host, *source, *writer, timeline, request);
    progress.finish();
    host.reset();  // effMainsChanged 0, effClose, unload
    if (!result.error.empty()) {
        fail("render failed: " + result.error + "; nothing was written");
        return interruptRequested != 0 ? kExitInterrupted : kExitFailure;
    }
    if (!writer->commit(error)) {
        return fail(error);
    }
    if (result.nonFiniteSamples > 0) {
        std::fprintf(stderr, "%s: warning: the effect produced %" PRId64 " non-finite samples\n", kProgram,
                     result.nonFiniteSamples);
    }
    // The full path, so a user who started us from a script knows where to look.
    std::error_code ignored;
    const std::filesystem::path written = std::filesystem::absolute(outputPath, ignored);
    std::printf("Wrote %s (%" PRId64 " frames, 2 channels, %g Hz)\n",
                (written.empty() ? outputPath : written.string()).c_str(), result.framesWritten, sampleRate);
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParseResult parsed = parseOptions(arguments);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, parsed.error.c_str(), kProgram);
        return kExitUsage;
    }
    if (parsed.options.showHelp) {
        std::fputs(usageText(kProgram).c_str(), stdout);
        return EXIT_SUCCESS;
    }
    if (parsed.options.listPresets) {
        for (int n = 0; n < presetCount(); ++n) {
            std::printf("%2d  %s\n", n, presetName(n).c_str());
        }
        return EXIT_SUCCESS;
    }
    return run(parsed.options);
}
