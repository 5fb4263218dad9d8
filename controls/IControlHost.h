// What the editor's own controls need from whoever hosts them: the pictures,
// fonts and size of the window, the parameter menu, preset stepping, and the
// live data the two displays draw. A control finds its host through the
// editor of the frame it sits in; without one it draws nothing.
#pragma once

#include <cstdint>

#include "gui/CButtonState.h"
#include "gui/CColor.h"
#include "gui/CFontDesc.h"
#include "gui/CPoint.h"

namespace VSTGUI {
class CBitmap;
class CControl;
class CView;
}  // namespace VSTGUI

// Text colour of the option menus and text buttons.
inline constexpr VSTGUI::CColor _LIGHT_TEXT_COLOR{125, 125, 125, 255};

// What the reverse display shows, read at once.
struct ReverseDisplayReading {
    float windowMS = 0.0f;        // the window's length, quantised
    float beats = 0.0f;           // the window's length in beats
    float takeLengthMS = 0.0f;
    float holdMS = 0.0f;
    float recordPositionMS = 0.0f;
    bool silent = true;
    bool tempoSynced = false;
    float verticalZoom[2] = {};   // input lane, output lane; 0 … 1
};

struct LfoReading {
    int wave = 0;          // index into the "LFO Wave" entries
    int phase = 0;         // quarter cycles
    float position = 0.0f; // 0 … 1 through the cycle
};

// The effect's display data as the displays see it.
class IDisplaySource {
public:
    enum Lane { kInputLane = 0, kOutputLane = 1 };

    virtual ~IDisplaySource() = default;
    virtual ReverseDisplayReading reverseDisplay() const = 0;  // control
    // Level (0 … 1, or more when clipping) of column x of width columns.
    virtual float displayLevel(float x, float width, bool input) const = 0;  // control
    virtual LfoReading lfo() const = 0;  // control
    // A zoom drag is one gesture for the host: begin, any number of values, end.
    virtual void beginZoomGesture(Lane lane) = 0;  // control
    virtual void setVerticalZoom(Lane lane, float value) = 0;  // control
    virtual void endZoomGesture(Lane lane) = 0;  // control
};

class IControlHost {
public:
    // The tag of a view that stands for no parameter.
    static constexpr std::int32_t kNoParameterTag = 9999;

    virtual ~IControlHost() = default;
    // The picture with this 100 % id at the host's size; null when absent.
    virtual VSTGUI::CBitmap* picture(int id) const = 0;  // control
    // 0 = 100 %, 1 = 150 %, 2 = 200 %.
    virtual std::int32_t getSizeMode() const = 0;  // control
    virtual VSTGUI::CFontRef menuFont() const = 0;  // control
    virtual VSTGUI::CFontRef textFont() const = 0;  // control
    // The parameter menu of control; where is the click in frame coordinates.
    virtual void midiLearnMenu(VSTGUI::CControl* control, VSTGUI::CPoint& where) = 0;  // control
    virtual void changePresetDelta(int delta) = 0;  // control
    // Null while there is no effect behind the host.
    virtual IDisplaySource* displaySource() = 0;  // control

    // The click that opens a parameter's menu: the right button, or the left
    // with Super (the key that stands in for the Mac's Control-click).
    static constexpr bool asksForMenu(const VSTGUI::CButtonState& buttons) {  // any
        return buttons.isRightButton() || (buttons.isLeftButton() && (buttons & VSTGUI::kApple));
    }
    // The host of the frame view sits in, or null.
    static IControlHost* of(const VSTGUI::CView* view);  // control
};
