#pragma once

// Temporary folders and environment for the platform tests, so that nothing
// ever reaches the real home folder or /etc.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tidewalker-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

inline void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A temporary home for every preference and data folder the code may use.
struct IsolatedHome {
    TempDir root;
    ScopedEnv home{"HOME", root.str() + "/home"};
    ScopedEnv config{"XDG_CONFIG_HOME", root.str() + "/config"};
    ScopedEnv data{"XDG_DATA_HOME", root.str() + "/data"};
    ScopedEnv system{"XDG_CONFIG_DIRS", root.str() + "/etc1:" + root.str() + "/etc2"};

    std::filesystem::path userFile() const
    {
        return root.path() / "config" / "com.ktlm.tidewalker" / "preferences.json";
    }
    std::filesystem::path allUsersFile(int which) const
    {
        return root.path() / ("etc" + std::to_string(which)) / "com.ktlm.tidewalker" / "preferences.json";
    }
};
