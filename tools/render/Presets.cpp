#include "tools/render/Presets.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "plugin/uPluginPresetsBanks.h"
#include "tools/render/EffectHost.h"

namespace render {
namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

int presetCount() {
    return FACTORY_PRESET_COUNT;
}

std::string presetName(int n) {
    if (n < 0 || n >= FACTORY_PRESET_COUNT) return {};
    char text[PRESET_NAME_LENGTH + 1];
    decodePresetText(&FACTORY_PRESETS[static_cast<std::size_t>(n)][PRESET_NAME_SLOT], PRESET_NAME_LENGTH, text);
    return text;
}

std::optional<int> findPreset(const std::string& numberOrName) {
    int number = -1;
    const char* end = numberOrName.data() + numberOrName.size();
    if (const auto [at, error] = std::from_chars(numberOrName.data(), end, number);
        error == std::errc{} && at == end && !numberOrName.empty() && numberOrName[0] != '-') {
        if (number < FACTORY_PRESET_COUNT) return number;
        return std::nullopt;
    }
    std::optional<int> caseless;
    int caselessMatches = 0;
    for (int n = 0; n < FACTORY_PRESET_COUNT; ++n) {
        const std::string name = presetName(n);
        if (name == numberOrName) return n;
        if (sameIgnoringCase(name, numberOrName)) {
            caseless = n;
            ++caselessMatches;
        }
    }
    return caselessMatches == 1 ? caseless : std::nullopt;
}

void applyPreset(EffectHost& host, int n) {
    if (n < 0 || n >= FACTORY_PRESET_COUNT) return;
    const FactoryPreset& preset = FACTORY_PRESETS[static_cast<std::size_t>(n)];
    const int slots = std::min(host.parameterCount(), static_cast<int>(preset.size()));
    for (int i = 0; i < slots; ++i) host.setParameter(i, preset[static_cast<std::size_t>(i)]);
    host.setProgram(0);
}

}  // namespace render
