#pragma once

// Temporary folders and environment for the platform tests, so that nothing
// ever reaches the real home folder or /etc.

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tidewalker-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string str() const { return path.string(); }
};

// Sets an environment variable for the life of the object.
struct ScopedEnv {
    std::string name;
    std::optional<std::string> old;
    ScopedEnv(const char* variable, const std::string& value) : name(variable) {
        if (const char* before = std::getenv(variable)) old = before;
        ::setenv(variable, value.c_str(), 1);
    }
    ~ScopedEnv() { old ? ::setenv(name.c_str(), old->c_str(), 1) : ::unsetenv(name.c_str()); }
};

inline void writeFile(const std::filesystem::path& path, const std::string& text, bool executable = false) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    if (executable) ::chmod(path.c_str(), 0755);
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A temporary home for every preference and data folder the code may use.
struct IsolatedHome {
    TempDir root;
    ScopedEnv home{"HOME", root.str() + "/home"};
    ScopedEnv config{"XDG_CONFIG_HOME", root.str() + "/config"};
    ScopedEnv data{"XDG_DATA_HOME", root.str() + "/data"};
    ScopedEnv system{"XDG_CONFIG_DIRS", root.str() + "/etc1:" + root.str() + "/etc2"};

    std::filesystem::path userFile() const { return root.path / "config/com.ktlm.tidewalker/preferences.json"; }
    std::filesystem::path allUsersFile(int which) const {
        return root.path / ("etc" + std::to_string(which)) / "com.ktlm.tidewalker/preferences.json";
    }
};
