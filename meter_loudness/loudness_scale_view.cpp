#include "meter_loudness/loudness_scale_view.h"

#include <cmath>
#include <cstdio>

using namespace panel_style;

namespace {

constexpr std::int32_t kLabelHeight = 12;
constexpr std::int32_t kTickLength = 4;

}  // namespace

LoudnessScaleView::LoudnessScaleView(const CRectangle& size, const CRectangle& bars) : CView(size) {
    scale.highRow = bars.top;
    scale.lowRow = bars.bottom;
}

void LoudnessScaleView::setScale(double bottom, double top, double newTarget, bool isRelative) {
    LevelScale next = scale;
    next.bottom = bottom;
    next.top = top;
    if (next != scale || newTarget != target || isRelative != relative) {
        scale = next;
        target = newTarget;
        relative = isRelative;
        setDirty(true);
    }
}

void LoudnessScaleView::draw(CDrawContext* context) {
    setDirty(false);
    if (!context) {
        return;
    }
    context->setFillColour(kGlass);
    fillBox(context, bounds.left, bounds.top, bounds.right, bounds.bottom);
    context->setFont(kFontSmall, 11, kBoldFace);
    context->setFontColour(kGlassInk);
    // A label every 3 LU on the +9 scale, every 6 LU on the +18 one, counted from the target.
    const double step = scale.top - scale.bottom > 30.0 ? 6.0 : 3.0;
    const auto below = static_cast<int>(std::floor((scale.bottom - target) / step));
    for (int k = below; target + k * step <= scale.top + 1e-9; ++k) {
        const double level = target + k * step;
        if (level < scale.bottom - 1e-9) {
            continue;
        }
        const std::int32_t row = scale.rowOf(level);
        char text[16];
        if (relative) {
            std::snprintf(text, sizeof text, k == 0 ? "0" : "%+.0f", k * step);
        } else {
            std::snprintf(text, sizeof text, "%.0f", level);
        }
        const CRectangle box{bounds.left, row - kLabelHeight / 2, bounds.right - kTickLength - 2,
                             row + kLabelHeight / 2};
        context->drawTextInRect(text, box, false, kAlignRight);
        context->setFillColour(k == 0 ? kTargetMark : kGlassInk);
        fillBox(context, bounds.right - kTickLength, row - 1, bounds.right, row);
    }
}
