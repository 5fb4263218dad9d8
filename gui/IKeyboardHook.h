// Sees every key the frame receives before any view does.
#pragma once

#include <cstdint>

#include "effect/VstAbi.h"

namespace VSTGUI {

class CFrame;

class IKeyboardHook {
public:
    virtual ~IKeyboardHook() = default;
    // 1 (or any value >= 0) when the key was used, -1 to pass it on.
    virtual std::int32_t onKeyDown(const VstKeyCode& code, CFrame* frame) = 0;  // control
    virtual std::int32_t onKeyUp(const VstKeyCode& code, CFrame* frame) = 0;  // control
};

}  // namespace VSTGUI
