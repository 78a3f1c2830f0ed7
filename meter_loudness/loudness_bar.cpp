#include "meter_loudness/loudness_bar.h"

#include <cmath>

using namespace panel_style;

LoudnessBar::LoudnessBar(const CRectangle& size) : CControl(size, nullptr, -1) {
    scale.highRow = size.top;
    scale.lowRow = size.bottom;
    value.store(-INFINITY);
}

void LoudnessBar::setScale(double bottom, double top, double newTarget, double newTolerance) {
    LevelScale next = scale;
    next.bottom = bottom;
    next.top = top;
    if (next != scale || newTarget != target || newTolerance != tolerance) {
        scale = next;
        target = newTarget;
        tolerance = newTolerance;
        setDirty(true);
    }
}

void LoudnessBar::draw(CDrawContext* context) {
    if (!context) {
        return;
    }
    const float shown = getValue();
    const auto segments = static_cast<int>(std::lround(scale.top - scale.bottom));
    for (int segment = 0; segment < segments; ++segment) {
        // Segment k spans from k to k + 1 LU above the bottom; a 1-pixel gap under each.
        const double level = scale.bottom + segment;
        const std::int32_t low = scale.rowOf(level);
        const std::int32_t high = scale.rowOf(level + 1.0);
        const bool lit = shown >= level + 0.5;
        context->setFillColour(lit ? bandColour(level + 0.5, target, tolerance) : kUnlit);
        fillBox(context, bounds.left, high, bounds.right, low - 1);
        context->setFillColour(kGlass);
        fillBox(context, bounds.left, low - 1, bounds.right, low);
    }
    // The target: a line across the bar and beyond it on both sides.
    const std::int32_t mark = scale.rowOf(target);
    context->setFillColour(kTargetMark);
    fillBox(context, bounds.left, mark - 1, bounds.right, mark + 1);
    markDrawn(shown);
}
