#include "meter_loudness/ceiling_lamp.h"

#include "meter_loudness/panel_style.h"

using namespace panel_style;

CeilingLamp::CeilingLamp(const CRectangle& size) : CControl(size, nullptr, -1) {}

void CeilingLamp::draw(CDrawContext* context) {
    if (!context) {
        return;
    }
    const float shown = getValue();
    context->setFillColour(kGlass);
    fillBox(context, bounds.left, bounds.top, bounds.right, bounds.bottom);
    context->setFillColour(shown >= 0.5f ? kLampOn : kLampOff);
    context->fillEllipse({bounds.left - 1, bounds.top - 1, bounds.right - 1, bounds.bottom - 1});
    markDrawn(shown);
}
