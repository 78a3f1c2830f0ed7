#include "meter_loudness/time_axis.h"

#include <cmath>
#include <cstdio>

#include "meter_loudness/panel_style.h"

using namespace panel_style;

TimeAxis::TimeAxis(const CRectangle& size, const CRectangle& plot)
    : CView(size), plotLeft(plot.left), plotRight(plot.right) {}

void TimeAxis::setColumnSeconds(double seconds) {
    if (seconds != columnSeconds) {
        columnSeconds = seconds;
        setDirty(true);
    }
}

double TimeAxis::labelStep(double seconds) {
    static constexpr double kSteps[] = {15.0,   30.0,   60.0,   120.0,   300.0,   600.0,   900.0,
                                        1800.0, 3600.0, 7200.0, 10800.0, 21600.0, 43200.0, 86400.0};
    for (double step : kSteps) {
        if (seconds / step <= 4.0 + 1e-9) {
            return step;
        }
    }
    return std::ceil(seconds / 4.0 / 86400.0) * 86400.0;
}

void TimeAxis::labelText(double secondsAgo, char* text, std::size_t size) {
    const auto seconds = static_cast<long>(std::lround(secondsAgo));
    if (seconds == 0) {
        std::snprintf(text, size, "now");
    } else if (seconds < 60) {
        std::snprintf(text, size, "-%ld s", seconds);
    } else if (seconds < 3600) {
        std::snprintf(text, size, "-%ld min", seconds / 60);
    } else if (seconds % 3600 == 0) {
        std::snprintf(text, size, "-%ld h", seconds / 3600);
    } else {
        std::snprintf(text, size, "-%ld h %02ld", seconds / 3600, seconds % 3600 / 60);
    }
}

void TimeAxis::draw(CDrawContext* context) {
    setDirty(false);
    if (!context) {
        return;
    }
    context->setFillColour(kGlass);
    fillBox(context, bounds.left, bounds.top, bounds.right, bounds.bottom);
    context->setFont(kFontSmall, 9, kBoldFace);
    context->setFontColour(kGlassInk);
    const std::int32_t width = plotRight - plotLeft;
    const double span = columnSeconds * width;
    const double step = labelStep(span);
    for (int k = 0; k * step <= span + 1e-9; ++k) {
        const std::int32_t x =
            plotRight - static_cast<std::int32_t>(std::lround(k * step / columnSeconds));
        char text[24];
        labelText(k * step, text, sizeof text);
        const std::int32_t half = 24;
        std::int32_t left = x - half;
        std::int32_t right = x + half;
        std::int32_t alignment = kAlignCenter;
        if (right > bounds.right) {
            left = x - 2 * half;
            right = x;
            alignment = kAlignRight;
        } else if (left < bounds.left) {
            left = x;
            right = x + 2 * half;
            alignment = kAlignLeft;
        }
        context->drawTextInRect(text, {left, bounds.top, right, bounds.bottom}, false, alignment);
    }
}
