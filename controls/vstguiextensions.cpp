#include "controls/vstguiextensions.h"

#include "gui/CDrawContext.h"

using namespace VSTGUI;

void lineAA(float x1, float y1, float x2, float y2, CDrawContext* context) {
    if (!context) return;
    const std::int32_t previousMode = context->getDrawMode();
    context->setDrawMode(kAntiAliasing);
    context->drawLine(CPoint(x1, y1), CPoint(x2, y2));
    context->setDrawMode(previousMode);
}
