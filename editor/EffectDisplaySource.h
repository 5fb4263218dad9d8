// The effect's display queries as the two displays read them, and the zoom
// drag carried to the host as automation inside one gesture.
#pragma once

#include "controls/IControlHost.h"

class APlugin;

class EffectDisplaySource final : public IDisplaySource {
public:
    explicit EffectDisplaySource(APlugin& effect) : effect(effect) {}  // control

    ReverseDisplayReading reverseDisplay() const override;  // control
    float displayLevel(float x, float width, bool input) const override;  // control
    LfoReading lfo() const override;  // control
    void beginZoomGesture(Lane lane) override;  // control
    void setVerticalZoom(Lane lane, float value) override;  // control
    void endZoomGesture(Lane lane) override;  // control

private:
    APlugin& effect;
};
