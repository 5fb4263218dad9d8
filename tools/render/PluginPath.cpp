#include "tools/render/PluginPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace render {

std::vector<std::string> pluginCandidates(const std::string& programFolder, const char* home) {
    std::vector<std::string> candidates;
    if (!programFolder.empty()) {
        candidates.push_back(programFolder + "/Tidewalker.so");
        candidates.push_back(programFolder + "/plugin/Tidewalker.so");
    }
    if (home != nullptr && home[0] != '\0') {
        candidates.push_back(std::string(home) + "/.vst/Tidewalker.so");
    }
    return candidates;
}

std::string findPlugin(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            return candidate;
        }
    }
    return {};
}

std::string programFolder() {
    std::array<char, 4096> path{};
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) {
        return {};
    }
    const std::string executable(path.data(), static_cast<std::size_t>(length));
    const std::size_t slash = executable.rfind('/');
    return slash == std::string::npos ? std::string() : executable.substr(0, slash);
}

}  // namespace render
