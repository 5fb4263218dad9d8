// Small sound files and folders for the tool tests.
#pragma once

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace render::testing {

// Interleaved samples into a 16-bit WAV (FLOAT when asked).
inline void writeTestFile(const std::string& path, int channels, int rate, const std::vector<float>& interleaved,
                          int subtype = SF_FORMAT_PCM_16) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    info.format = SF_FORMAT_WAV | subtype;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::abort();
    }
    sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
    sf_close(file);
}

struct ReadBack {
    SF_INFO info{};
    std::vector<float> interleaved;
};

inline ReadBack readTestFile(const std::string& path) {
    ReadBack result;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &result.info);
    if (file == nullptr) {
        return result;
    }
    result.interleaved.resize(static_cast<std::size_t>(result.info.frames * result.info.channels));
    sf_readf_float(file, result.interleaved.data(), result.info.frames);
    sf_close(file);
    return result;
}

// A fresh empty folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = std::filesystem::temp_directory_path() / "tidewalker-render-XXXXXX";
        path = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            names.push_back(entry.path().filename());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string path;
};

}  // namespace render::testing
