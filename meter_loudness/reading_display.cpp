#include "meter_loudness/reading_display.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "meter_loudness/loudness_parameters.h"
#include "meter_loudness/panel_style.h"

using namespace panel_style;

namespace {

/// Room kept for the unit right of the figures, as a share of the figures' height.
constexpr std::int32_t kUnitGap = 6;

}  // namespace

ReadingDisplay::ReadingDisplay(const CRectangle& size, std::int32_t figureHeight,
                               std::int32_t unitHeight)
    : CControl(size, nullptr, -1), figureHeight(figureHeight), unitHeight(unitHeight) {
    value.store(-INFINITY);
}

void ReadingDisplay::setUnit(const char* newUnit) {
    if (std::strncmp(unit, newUnit, sizeof unit) != 0) {
        std::snprintf(unit, sizeof unit, "%s", newUnit);
        setDirty(true);
    }
}

void ReadingDisplay::draw(CDrawContext* context) {
    if (!context) {
        return;
    }
    const float shown = getValue();
    context->setFillColour(kGlass);
    fillBox(context, bounds.left, bounds.top, bounds.right, bounds.bottom);

    std::int32_t figuresRight = bounds.right;
    if (unitHeight > 0) {
        context->setFont(kFontBig, unitHeight, kBoldFace);
        const std::int32_t unitWidth = context->textWidth("LUFS");  // the widest unit
        figuresRight = bounds.right - unitWidth - kUnitGap;
        // The unit sits on the figures' baseline, roughly: both bottoms aligned.
        const std::int32_t baseline = bounds.top + (bounds.height() + figureHeight) / 2;
        context->setFontColour(kGlassInk);
        context->drawTextInRect(unit,
                                {figuresRight + kUnitGap, baseline - unitHeight, bounds.right,
                                 baseline + unitHeight / 4},
                                false, kAlignLeft);
    }

    char text[16];
    loudness::levelFigures(shown, text, sizeof text);
    context->setFont(kFontBig, figureHeight, kBoldFace);
    context->setFontColour(kTargetMark);
    context->drawTextInRect(text, {bounds.left, bounds.top, figuresRight, bounds.bottom}, false,
                            unitHeight > 0 ? kAlignRight : kAlignCenter);
    markDrawn(shown);
}
