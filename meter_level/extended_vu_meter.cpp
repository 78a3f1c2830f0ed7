#include "meter_level/extended_vu_meter.h"

#include "gui/control_styles.h"
#include "gui/resource_bitmap.h"

CExtendedVuMeter::CExtendedVuMeter(const CRectangle& size, CResourceBitmap* onBitmap,
                                   CResourceBitmap* offBitmap, std::int32_t ledCount,
                                   std::int32_t style)
    : CVuMeter(size, onBitmap, offBitmap, ledCount, style) {}

CExtendedVuMeter::~CExtendedVuMeter() = default;

void CExtendedVuMeter::segmentEdges(float shown, std::int32_t width, std::int32_t& left,
                                    std::int32_t& right) const {
    const float scaled = static_cast<float>(ledCount) * shown;
    // The value is clamped to 0..1 before this, so both segment numbers fit an integer.
    const auto upper = static_cast<std::int32_t>(scaled + 0.5f);
    const float lowerEdge = scaled - 0.5f;
    const std::int32_t lower = lowerEdge > 0.0f ? static_cast<std::int32_t>(lowerEdge) : 0;
    const float pitch = static_cast<float>(width);
    right = static_cast<std::int32_t>(static_cast<float>(upper) / ledCount * pitch);
    left = static_cast<std::int32_t>(static_cast<float>(lower) / ledCount * pitch);
}

void CExtendedVuMeter::copy(CResourceBitmap* bitmap, CDrawContext* context, const CRectangle& dest,
                            const CPosition& source) {
    if (dest.width() <= 0) {
        return;
    }
    if (isTransparent()) {
        bitmap->drawTransparent(context, dest, source);
    } else {
        bitmap->draw(context, dest, source);
    }
}

void CExtendedVuMeter::draw(CDrawContext* context) {
    // Without segments there is nothing to light; without a context nothing to draw on.
    if (!onBitmap || !context || ledCount <= 0) {
        return;
    }
    if (!(style & kSliderHorizontal)) {
        // Only the horizontal form is used; a vertical one shows the bar instead.
        CVuMeter::draw(context);
        return;
    }
    clampValue();
    float shown = getLastValue() - decreaseStep;
    const float value = getValue();
    if (value > shown) {
        shown = value;
    }
    setLastValue(shown);
    std::int32_t left = 0;
    std::int32_t right = 0;
    segmentEdges(shown, onBitmap->getWidth(), left, right);
    const CRectangle area = onRect;
    if (offBitmap) {
        copy(offBitmap, context, {area.left + right, area.top, area.right, area.bottom},
             {right, 0});
        if (!isTransparent()) {
            copy(offBitmap, context, {area.left, area.top, area.left + left, area.bottom}, {0, 0});
        }
    }
    copy(onBitmap, context, {area.left + left, area.top, area.left + right, area.bottom},
         {left, 0});
}
