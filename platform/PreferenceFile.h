#pragma once

// One preference store: a JSON object in <folder>/preferences.json.
//
// Reads take no lock: writers replace the file in one rename, so a reader
// sees either the old or the new object. Writes read, change and replace the
// file while holding an advisory lock (flock on preferences.json.lock), so
// writers in any thread or process never lose each other's keys. A file that
// cannot be parsed is renamed aside (preferences.json.broken-<time>) before a
// fresh one is written, never deleted.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

class PreferenceFile {
public:
    explicit PreferenceFile(std::string folder);  // any

    // The value under key; nothing when the key, the file or the folder is
    // missing, or the file cannot be read or parsed.
    std::optional<nlohmann::json> read(const std::string& key) const;  // control

    // The whole stored object, for callers that need many keys from one
    // read; an empty object when read(key) would find nothing for any key.
    nlohmann::json readAll() const;  // control

    // Stores value under key, creating folder and file as needed. False when
    // nothing was stored (no folder given, a file that exists but cannot be
    // read, a value that cannot be written as JSON, a failed write).
    bool write(const std::string& key, const nlohmann::json& value);  // control

    // Stores every member of changes (a JSON object) in one write, all or none.
    bool writeAll(const nlohmann::json& changes);  // control

private:
    std::string folder_;
    std::string path_;
};
