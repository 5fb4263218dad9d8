// Where tidewalker-render looks for the effect when --plugin is not given.
#pragma once

#include <string>
#include <vector>

namespace render {

// In search order: beside the program, in its build tree's plugin folder, then
// the user's VST folder (left out without a home folder).
// any
std::vector<std::string> pluginCandidates(const std::string& programFolder, const char* home);

// The first candidate that exists as a file, or empty.
// control
std::string findPlugin(const std::vector<std::string>& candidates);

// The folder of the running executable, or empty when it cannot be told.
// control
std::string programFolder();

}  // namespace render
