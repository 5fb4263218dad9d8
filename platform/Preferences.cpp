#include "platform/Preferences.h"

#include "platform/Locations.h"
#include "platform/PreferenceFile.h"
#include "platform/PreferenceSnapshot.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

PreferenceFile userStore() { return PreferenceFile(userPreferencesFolder()); }

std::optional<std::string> readString(const PreferenceFile& store, const char* key)
{
    const auto value = store.read(key);
    if (!value || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

// Copies value with its terminator when it fits, else leaves text empty.
void copyWhole(const std::string& value, char* text, std::size_t maxBytes)
{
    if (value.size() < maxBytes && value.find('\0') == std::string::npos) {
        std::memcpy(text, value.c_str(), value.size() + 1);
    }
}

// A stored number as a 32-bit integer; 0 when it is not one.
std::int32_t wholeInt32(const nlohmann::json& value)
{
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (value.is_number_integer()) {
        // Unsigned and signed JSON integers both compare safely as these.
        if (value.is_number_unsigned()) {
            const auto number = value.get<std::uint64_t>();
            return number <= static_cast<std::uint64_t>(highest) ? static_cast<std::int32_t>(number) : 0;
        }
        const auto number = value.get<std::int64_t>();
        return number >= lowest && number <= highest ? static_cast<std::int32_t>(number) : 0;
    }
    if (value.is_number_float()) {
        const double number = value.get<double>();
        const bool whole = std::isfinite(number) && std::trunc(number) == number;
        return whole && number >= lowest && number <= highest ? static_cast<std::int32_t>(number) : 0;
    }
    return 0;
}

}  // namespace

void loadStringFromPrefs(const char* key, char* text, std::size_t maxBytes)
{
    if (text == nullptr || maxBytes == 0) return;
    text[0] = '\0';
    if (key == nullptr) return;

    PreferenceFile user = userStore();
    if (const auto value = readString(user, key); value && !value->empty()) {
        copyWhole(*value, text, maxBytes);
        return;
    }
    for (const std::string& folder : allUsersPreferencesFolders()) {
        if (const auto value = readString(PreferenceFile(folder), key)) {
            copyWhole(*value, text, maxBytes);
            // From now on the value is the user's own.
            user.write(key, *value);
            return;
        }
    }
}

bool saveStringToPrefs(const char* key, const char* text)
{
    if (key == nullptr || text == nullptr) return false;
    if (!userStore().write(key, std::string(text))) return false;
    PreferenceSnapshot::noteWritten(key, text);
    return true;
}

std::int32_t loadIntFromPrefs(const char* key)
{
    if (key == nullptr) return 0;
    const auto value = userStore().read(key);
    return value ? wholeInt32(*value) : 0;
}

void loadIntsFromPrefs(std::span<IntPreference> entries)
{
    const nlohmann::json stored = userStore().readAll();
    for (IntPreference& entry : entries) {
        const auto found = entry.key ? stored.find(entry.key) : stored.end();
        entry.value = found != stored.end() ? wholeInt32(*found) : 0;
    }
}

bool saveIntToPrefs(const char* key, std::int32_t value)
{
    if (key == nullptr) return false;
    return userStore().write(key, value);
}

bool saveIntsToPrefs(std::span<const IntPreference> entries)
{
    try {
        nlohmann::json changes = nlohmann::json::object();
        for (const IntPreference& entry : entries) {
            if (entry.key == nullptr) return false;
            changes[entry.key] = entry.value;
        }
        return userStore().writeAll(changes);
    } catch (const std::exception&) {
        return false;
    }
}

bool saveStringsToPrefs(std::span<const StringPreference> entries)
{
    try {
        nlohmann::json changes = nlohmann::json::object();
        for (const StringPreference& entry : entries) {
            if (entry.key == nullptr || entry.text == nullptr) return false;
            changes[entry.key] = entry.text;
        }
        if (!userStore().writeAll(changes)) return false;
    } catch (const std::exception&) {
        return false;
    }
    for (const StringPreference& entry : entries) PreferenceSnapshot::noteWritten(entry.key, entry.text);
    return true;
}

bool flagIsOn(const char* text, bool defaultValue) noexcept
{
    if (text == nullptr) return defaultValue;
    if (std::strcmp(text, "Y") == 0) return true;
    if (std::strcmp(text, "N") == 0) return false;
    return defaultValue;
}

bool getRegistryIsOn(const char* key, bool defaultValue)
{
    char text[8];
    loadStringFromPrefs(key, text, sizeof text);
    return flagIsOn(text, defaultValue);
}
