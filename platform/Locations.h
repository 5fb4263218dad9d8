#pragma once

// Every fixed place the effect reads or writes, in one file: the ECS folder,
// the manual and the preference stores. macOS keeps its installation paths;
// elsewhere the XDG base directories and the install prefix are used.

#include "platform/FilePaths.h"

#include <string>
#include <vector>

inline constexpr const char* kProposedEcsFileName = "Reverse.ecs";
inline constexpr const char* kEcsFileFilter = "*.ecs";

// Folder and help paths are kept to this many characters by their users.
inline constexpr std::size_t kFolderPathMaxChars = 127;

// The ECS folder used when the preference "ECSDir" is empty, with a trailing
// "/". False (buffer untouched) when it would exceed kFolderPathMaxChars.
bool getDefaultEcsDirectory(char (&buffer)[kPathBytes]);  // any

// The installed manual: the current user's copy when one can be read, else
// the one installed with the plug-in (which may be missing). False (buffer
// untouched) when it would exceed kFolderPathMaxChars.
bool getHelpFilePath(char (&buffer)[kPathBytes]);  // any

inline constexpr const char* kManualFileName = "Tidewalker_Manual.html";

// Folder of the current user's preference file; empty when no home folder
// can be found.
std::string userPreferencesFolder();  // any

// Folders that may hold preferences installed for all users, searched in
// this order ($XDG_CONFIG_DIRS, by default /etc/xdg).
std::vector<std::string> allUsersPreferencesFolders();  // any

inline constexpr const char* kPreferenceDomain = "com.ktlm.tidewalker";
inline constexpr const char* kPreferenceFileName = "preferences.json";
