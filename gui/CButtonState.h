// Mouse buttons, modifier keys and the answers a view gives to mouse events.
#pragma once

#include <cstdint>

namespace VSTGUI {

// Bit values as VSTGUI numbers them, so stored or compared states mean the same.
// On X11: Shift -> kShift, Ctrl -> kControl, Alt (Mod1) -> kAlt, Super (Mod4) -> kApple.
enum CButton : std::int32_t {
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kButton4 = 1 << 8,
    kButton5 = 1 << 9,
    kDoubleClick = 1 << 10,
};

inline constexpr std::int32_t kAllButtons = kLButton | kMButton | kRButton | kButton4 | kButton5;
inline constexpr std::int32_t kAllModifiers = kShift | kControl | kAlt | kApple;

class CButtonState {
public:
    constexpr CButtonState(std::int32_t state = 0) : state(state) {}

    constexpr std::int32_t getButtonState() const { return state & kAllButtons; }  // any
    constexpr std::int32_t getModifierState() const { return state & kAllModifiers; }  // any
    constexpr bool isLeftButton() const { return (state & kLButton) != 0; }  // any
    constexpr bool isRightButton() const { return (state & kRButton) != 0; }  // any
    constexpr bool isDoubleClick() const { return (state & kDoubleClick) != 0; }  // any
    constexpr operator std::int32_t() const { return state; }  // any
    constexpr bool operator==(const CButtonState& other) const = default;  // any

private:
    std::int32_t state;
};

enum CMouseEventResult : std::int32_t {
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
    kMouseMoveEventHandledButDontNeedMoreEvents,
};

}  // namespace VSTGUI
