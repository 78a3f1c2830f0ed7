#include "meter_loudness/segment_switch.h"

#include <cmath>

#include "gui/control_listener.h"
#include "gui/frame.h"
#include "meter_loudness/panel_style.h"

using namespace panel_style;

SegmentSwitch::SegmentSwitch(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                             const char* const* names, std::int32_t count)
    : CControl(size, listener, tag), names(names), count(count) {
    defaultValue = 0.0f;
}

std::int32_t SegmentSwitch::positionShown() const {
    const float position = std::round(getValue() * static_cast<float>(count - 1));
    if (!(position > 0.0f)) {
        return 0;
    }
    return position >= static_cast<float>(count - 1) ? count - 1
                                                     : static_cast<std::int32_t>(position);
}

std::int32_t SegmentSwitch::segmentLeft(std::int32_t position) const {
    return bounds.left + bounds.width() * position / count;
}

void SegmentSwitch::draw(CDrawContext* context) {
    const float shown = getValue();
    if (context) {
        const std::int32_t chosen = positionShown();
        context->setFont(kFontSmall, 9, kBoldFace);
        for (std::int32_t position = 0; position < count; ++position) {
            const std::int32_t left = segmentLeft(position);
            const std::int32_t right = segmentLeft(position + 1);
            // A dark segment with a 1-pixel gap to the next; the chosen one lit.
            context->setFillColour(position == chosen ? kLampOn : kGlass);
            fillBox(context, left, bounds.top, right - 1, bounds.bottom);
            context->setFontColour(position == chosen ? CRgbColour{255, 255, 255, 0} : kGlassInk);
            context->drawTextInRect(names[position], {left, bounds.top, right - 1, bounds.bottom},
                                    false, kAlignCenter);
        }
    }
    markDrawn(shown);
}

void SegmentSwitch::mouseDown(CDrawContext* context, const CPosition& where) {
    std::int32_t state = 0;
    if (!startsLeftDrag(context, state)) {
        return;
    }
    std::int32_t position = (where.x - bounds.left) * count / bounds.width();
    position = position < 0 ? 0 : (position >= count ? count - 1 : position);
    retain();
    if (frame) {
        frame->beginEdit(tag);
    }
    setValue(static_cast<float>(position) / static_cast<float>(count - 1));
    if (listener) {
        listener->valueChanged(context, this);
    }
    if (frame) {
        frame->endEdit(tag);
    }
    release();
}
