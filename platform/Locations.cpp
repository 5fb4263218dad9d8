#include "platform/Locations.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#if !defined(__APPLE__) && !defined(TIDEWALKER_INSTALL_PREFIX)
#error "TIDEWALKER_INSTALL_PREFIX (the install prefix) must be defined by the build"
#endif

namespace {

bool fitsFolderLimit(const std::string& path) { return path.size() <= kFolderPathMaxChars; }

bool copyLimited(char (&buffer)[kPathBytes], const std::string& path)
{
    return !path.empty() && fitsFolderLimit(path) && copyPath(buffer, path);
}

#ifndef __APPLE__
std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
    // No usable $HOME (some hosts clear the environment): ask the user database.
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string scratch(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

// An XDG base directory: the variable when it holds an absolute path (the
// standard says relative values are to be ignored), else home + fallback.
std::string xdgFolder(const char* variable, const char* homeRelativeDefault)
{
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') return value;
    const std::string home = homeFolder();
    return home.empty() ? std::string{} : home + "/" + homeRelativeDefault;
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}
#endif

}  // namespace

#ifdef __APPLE__

bool getDefaultEcsDirectory(char (&buffer)[kPathBytes])
{
    return copyLimited(buffer, "/Applications/Ola Marsk/Tidewalker/ECS/");
}

bool getHelpFilePath(char (&buffer)[kPathBytes])
{
    return copyLimited(buffer, "/Applications/Ola Marsk/Tidewalker/Help/Tidewalker_Manual.pdf");
}

std::string userPreferencesFolder()
{
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/'
               ? std::string(home) + "/Library/Application Support/" + kPreferenceDomain
               : std::string{};
}

std::vector<std::string> allUsersPreferencesFolders()
{
    return {std::string("/Library/Application Support/") + kPreferenceDomain};
}

#else

bool getDefaultEcsDirectory(char (&buffer)[kPathBytes])
{
    const std::string data = xdgFolder("XDG_DATA_HOME", ".local/share");
    if (data.empty()) return false;
    return copyLimited(buffer, withoutTrailingSlashes(data) + "/Ola Marsk/Tidewalker/ECS/");
}

bool getHelpFilePath(char (&buffer)[kPathBytes])
{
    // The current user's copy (the run script installs one in $XDG_DATA_HOME)
    // comes first; then this build's install prefix, or where the Debian
    // package puts it (a plug-in built for /usr/local may sit beside a packaged one).
    const std::string manual = std::string("/doc/tidewalker/") + kManualFileName;
    const std::string data = xdgFolder("XDG_DATA_HOME", ".local/share");
    const std::string user = data.empty() ? std::string{} : withoutTrailingSlashes(data) + manual;
    const std::string own = withoutTrailingSlashes(TIDEWALKER_INSTALL_PREFIX) + "/share" + manual;
    const std::string packaged = "/usr/share" + manual;
    for (const std::string& candidate : {user, own, packaged})
        if (!candidate.empty() && fitsFolderLimit(candidate) && ::access(candidate.c_str(), R_OK) == 0)
            return copyLimited(buffer, candidate);
    return copyLimited(buffer, own);
}

std::string userPreferencesFolder()
{
    const std::string config = xdgFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? config : withoutTrailingSlashes(config) + "/" + kPreferenceDomain;
}

std::vector<std::string> allUsersPreferencesFolders()
{
    const char* value = std::getenv("XDG_CONFIG_DIRS");
    std::string_view list = value != nullptr && value[0] != '\0' ? value : "/etc/xdg";
    std::vector<std::string> folders;
    while (!list.empty()) {
        const auto colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (!entry.empty() && entry.front() == '/') {
            folders.push_back(withoutTrailingSlashes(std::string(entry)) + "/" + kPreferenceDomain);
        }
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return folders;
}

#endif
