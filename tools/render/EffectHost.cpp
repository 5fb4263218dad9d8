#include "tools/render/EffectHost.h"

#include <algorithm>

namespace render {

std::optional<int> EffectHost::findParameter(const std::string& nameOrIndex) const {
    const int count = parameterCount();
    for (int i = 0; i < count; ++i) {
        if (parameterName(i) == nameOrIndex) {
            return i;
        }
    }
    if (!nameOrIndex.empty() && nameOrIndex.size() < 10 &&
        std::all_of(nameOrIndex.begin(), nameOrIndex.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int index = std::stoi(nameOrIndex);
        if (index < count) {
            return index;
        }
    }
    return std::nullopt;
}

}  // namespace render
