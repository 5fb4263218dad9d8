#include "editor/EffectDisplaySource.h"

#include "plugin/APlugin.h"

namespace {

constexpr VstInt32 kZoomParameter[2] = {Param::ReverseVerticalInZoom, Param::ReverseVerticalOutZoom};

}  // namespace

ReverseDisplayReading EffectDisplaySource::reverseDisplay() const {
    ReverseDisplayReading reading;
    reading.windowMS = effect.getReverseDisplayLengthQuantized();
    reading.beats = effect.getReverseDisplayLengthQB();
    reading.takeLengthMS = effect.getReverseLength();
    reading.holdMS = effect.getHoldTime();
    reading.recordPositionMS = effect.getRecordPosition();
    reading.silent = effect.getSilent();
    reading.tempoSynced = effect.getOnOff(Param::ReverseTempoSync);
    for (int lane : {kInputLane, kOutputLane}) reading.verticalZoom[lane] = effect.getParameter(kZoomParameter[lane]);
    return reading;
}

float EffectDisplaySource::displayLevel(float x, float width, bool input) const {
    return effect.getDisplayValue(x, width, input);
}

LfoReading EffectDisplaySource::lfo() const {
    return {effect.getLFOWave(), effect.getLFOPhase(), effect.getLFOPos()};
}

void EffectDisplaySource::beginZoomGesture(Lane lane) { effect.beginEdit(kZoomParameter[lane]); }

void EffectDisplaySource::setVerticalZoom(Lane lane, float value) {
    effect.setParameterAutomated(kZoomParameter[lane], value);
}

void EffectDisplaySource::endZoomGesture(Lane lane) { effect.endEdit(kZoomParameter[lane]); }
