// tidewalker-preview: shows what the editor looks like without a DAW. It
// plays the built-in demo loop through the effect with the editor open
// off-screen, then writes the editor's picture at 100, 150 and 200 %: the
// front panel, or with --page settings the settings page.
//
// The size preferences it needs are kept in a private, temporary preference
// folder, so the user's own settings are neither read nor changed.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/uEditor.h"
#include "gui/CFrame.h"
#include "gui/OffscreenRender.h"
#include "plugin/APlugin.h"
#include "tools/render/DemoSignal.h"

namespace {

constexpr const char* kProgram = "tidewalker-preview";
constexpr int kBlockFrames = 512;
constexpr double kDefaultSeconds = 3.0;
// The editor skips idle calls closer than 10 ms; hosts call it every 20 ms or so.
constexpr auto kIdleInterval = std::chrono::milliseconds(20);

constexpr const char* kPercents[] = {"100", "150", "200"};

struct Options {
    std::filesystem::path outputFolder = ".";
    double seconds = kDefaultSeconds;
    int preset = -1;
    bool settingsPage = false;
};

void printUsage() {
    std::printf(
        "usage: %s [--seconds S] [--preset N] [--page front|settings] [OUTPUT-FOLDER]\n"
        "Plays S seconds (default 3) of the built-in demo through Tidewalker with its editor\n"
        "open off-screen and writes tidewalker-editor-100.png, -150.png and -200.png into\n"
        "OUTPUT-FOLDER (default: the current folder). --preset loads factory preset N (0-45) first.\n"
        "--page settings writes the settings page instead, as tidewalker-settings-100.png and so on.\n",
        kProgram);
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        char* end = nullptr;
        if (arg == "--seconds" && hasValue) {
            options.seconds = std::strtod(argv[++i], &end);
            if (*end || !(options.seconds > 0.0 && options.seconds <= 60.0)) return false;
        } else if (arg == "--preset" && hasValue) {
            options.preset = static_cast<int>(std::strtol(argv[++i], &end, 10));
            if (*end || options.preset < 0 || options.preset >= FACTORY_PRESET_COUNT) return false;
        } else if (arg == "--page" && hasValue) {
            const std::string page = argv[++i];
            if (page != "front" && page != "settings") return false;
            options.settingsPage = page == "settings";
        } else if (!arg.empty() && arg[0] == '-') {
            return false;
        } else {
            options.outputFolder = arg;
        }
    }
    return true;
}

// A preference folder of our own for the life of the program.
class PrivatePreferences {
public:
    bool create() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tidewalker-preview-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return false;
        folder = pattern;
        return ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1) == 0;
    }
    ~PrivatePreferences() {
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }

private:
    std::filesystem::path folder;
};

void processDemo(APlugin& effect, uEditor& editor, const render::StereoBuffer& demo, double seconds) {
    const auto total = std::min(demo.left.size(), static_cast<std::size_t>(seconds * demo.sampleRate));
    std::vector<float> inLeft(kBlockFrames), inRight(kBlockFrames), outLeft(kBlockFrames), outRight(kBlockFrames);
    float* inputs[2] = {inLeft.data(), inRight.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    auto nextIdle = std::chrono::steady_clock::now();
    for (std::size_t done = 0; done < total;) {
        const std::size_t frames = std::min<std::size_t>(kBlockFrames, total - done);
        std::copy_n(demo.left.begin() + static_cast<std::ptrdiff_t>(done), frames, inLeft.begin());
        std::copy_n(demo.right.begin() + static_cast<std::ptrdiff_t>(done), frames, inRight.begin());
        effect.processReplacing(inputs, outputs, static_cast<VstInt32>(frames));
        done += frames;
        if (std::chrono::steady_clock::now() >= nextIdle) {
            editor.idle();
            nextIdle = std::chrono::steady_clock::now() + kIdleInterval;
        }
    }
    // One last look at the effect, as the host's next timer tick would.
    std::this_thread::sleep_for(kIdleInterval);
    editor.idle();
}

bool writePreview(int sizeMode, const Options& options, const render::StereoBuffer& demo) {
    if (!uEditor::saveSizeMode(sizeMode)) {
        std::fprintf(stderr, "%s: cannot store the size preference\n", kProgram);
        return false;
    }
    std::unique_ptr<AudioEffect> effect(createEffectWithEditor(nullptr, "VST"));
    auto* plugin = dynamic_cast<APlugin*>(effect.get());
    auto* editor = dynamic_cast<uEditor*>(effect->getEditor());
    if (!plugin || !editor) return false;
    plugin->setSampleRate(static_cast<float>(demo.sampleRate));
    plugin->setBlockSize(kBlockFrames);
    plugin->resume();
    if (options.preset >= 0) plugin->setFactoryProgram(options.preset);
    if (!editor->openOffscreen()) {
        std::fprintf(stderr, "%s: the editor did not open\n", kProgram);
        return false;
    }
    processDemo(*plugin, *editor, demo, options.seconds);
    // Turned over only once audio has run: the effect's first refresh after
    // the program it loaded at start-up returns an open editor to the front panel.
    if (options.settingsPage) editor->showBackside();
    const char* name = options.settingsPage ? "tidewalker-settings-" : "tidewalker-editor-";
    const auto path = options.outputFolder / (std::string(name) + kPercents[sizeMode] + ".png");
    const bool written = editor->getFrame() && VSTGUI::renderToPng(*editor->getFrame(), path.string());
    editor->close();
    if (!written) {
        std::fprintf(stderr, "%s: cannot write %s\n", kProgram, path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        printUsage();
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(options.outputFolder, error);
    PrivatePreferences preferences;
    if (!preferences.create()) {
        std::fprintf(stderr, "%s: cannot make a temporary preference folder\n", kProgram);
        return 1;
    }
    const render::StereoBuffer demo = render::synthesizeDemo();
    bool written = true;
    for (int sizeMode = 0; sizeMode < 3; ++sizeMode)
        if (written) written = writePreview(sizeMode, options, demo);
    // Font caches live until told otherwise; a leak checker would report them.
    cairo_debug_reset_static_data();
    FcFini();
    return written ? 0 : 1;
}
