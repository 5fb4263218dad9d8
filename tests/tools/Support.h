// Shared by the renderer tests: small sound files, a scratch folder, and the
// built tidewalker-render run the way a user runs it.
#pragma once

#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace render::testing {

// Interleaved samples into a float WAV, so they read back exactly.
inline void writeTestFile(const std::string& path, int channels, int rate, const std::vector<float>& interleaved) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) std::abort();
    sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size()) / channels);
    sf_close(file);
}

struct ReadBack {
    SF_INFO info{};
    std::vector<float> interleaved;
};

inline ReadBack readTestFile(const std::string& path) {
    ReadBack back;
    if (SNDFILE* file = sf_open(path.c_str(), SFM_READ, &back.info)) {
        back.interleaved.resize(static_cast<std::size_t>(back.info.frames * back.info.channels));
        sf_readf_float(file, back.interleaved.data(), back.info.frames);
        sf_close(file);
    }
    return back;
}

// A fresh empty folder per test, removed afterwards.
struct TempFolder {
    TempFolder() { ::mkdtemp(path.data()); }  // fills in the X's
    std::string path = std::filesystem::temp_directory_path() / "tidewalker-render-XXXXXX";
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path)) names.push_back(entry.path().filename());
        std::ranges::sort(names);
        return names;
    }
};

struct ToolRun {
    int status = -1;
    std::string output;  // stdout and stderr together
};

// Every argument is quoted for the shell, so names with blanks or quotes pass whole.
inline ToolRun runTool(const std::vector<std::string>& arguments) {
    std::string command = "'" TIDEWALKER_RENDER_PATH "'";
    for (const std::string& argument : arguments) {
        command += " '";
        for (const char c : argument) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += "'";
    }
    ToolRun run;
    FILE* pipe = ::popen((command + " 2>&1 </dev/null").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace render::testing
