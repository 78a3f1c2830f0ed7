#include "meter_loudness/reading_display.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "meter_loudness/panel_style.h"

using namespace panel_style;

namespace {

/// Room kept for the unit right of the figures, as a share of the figures' height.
constexpr std::int32_t kUnitGap = 6;
/// Levels beyond this many decibels either way show as "-inf" and "+inf".
constexpr double kLargestFigure = 9999.0;

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

void ReadingDisplay::figures(double reading, char* text, std::size_t size) {
    if (std::isnan(reading) || reading < -kLargestFigure) {
        std::snprintf(text, size, "-inf");
    } else if (reading > kLargestFigure) {
        std::snprintf(text, size, "+inf");
    } else {
        std::snprintf(text, size, "%.1f", reading);
        if (std::strcmp(text, "-0.0") == 0) {  // a level that rounds to zero has no sign
            std::snprintf(text, size, "0.0");
        }
    }
}

void ReadingDisplay::draw(CDrawContext* context) {
    if (!context) {
        return;
    }
    const float shown = getValue();
    context->setFillColour(kGlass);
    fillBox(context, bounds.left, bounds.top, bounds.right, bounds.bottom);

    context->setFont(kFontBig, unitHeight, kBoldFace);
    const std::int32_t unitWidth = context->textWidth("LUFS");  // the widest unit
    const std::int32_t figuresRight = bounds.right - unitWidth - kUnitGap;
    // The unit sits on the figures' baseline, roughly: both bottoms aligned.
    const std::int32_t baseline = bounds.top + (bounds.height() + figureHeight) / 2;
    context->setFontColour(kGlassInk);
    context->drawTextInRect(
        unit,
        {figuresRight + kUnitGap, baseline - unitHeight, bounds.right, baseline + unitHeight / 4},
        false, kAlignLeft);

    char text[16];
    figures(shown, text, sizeof text);
    context->setFont(kFontBig, figureHeight, kBoldFace);
    context->setFontColour(kTargetMark);
    context->drawTextInRect(text, {bounds.left, bounds.top, figuresRight, bounds.bottom}, false,
                            kAlignRight);
    markDrawn(shown);
}
