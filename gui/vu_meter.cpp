#include "gui/vu_meter.h"

#include <algorithm>

#include "gui/resource_bitmap.h"

namespace {

CRectangle normalised(const CRectangle& r) {
    return CRectangle{std::min(r.left, r.right), std::min(r.top, r.bottom),
                      std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

}  // namespace

CVuMeter::CVuMeter(const CRectangle& size, CResourceBitmap* onBitmap, CResourceBitmap* offBitmap,
                   std::int32_t ledCount, std::int32_t style)
    : CControl(size, nullptr, 0),
      onBitmap(onBitmap),
      offBitmap(offBitmap),
      ledCount(ledCount),
      style(style),
      onRect(normalised(size)),
      offRect(normalised(size)) {
    if (onBitmap) {
        onBitmap->retain();
    }
    if (offBitmap) {
        offBitmap->retain();
    }
}

CVuMeter::~CVuMeter() {
    if (onBitmap) {
        onBitmap->release();
    }
    if (offBitmap) {
        offBitmap->release();
    }
}

void CVuMeter::setDirty(bool state) {
    CView::setDirty(state);
}

void CVuMeter::setDecreaseStep(float step) {
    decreaseStep = step;
}

float CVuMeter::nextShownLevel() {
    clampValue();
    const float current = getValue();
    float shown = getLastValue() - decreaseStep;
    if (current > shown) {
        shown = current;
    }
    // A last value set from outside the range (or not a number) must not reach the pixels.
    if (!(shown >= minimum)) {
        shown = minimum;
    } else if (shown > maximum) {
        shown = maximum;
    }
    setLastValue(shown);
    return shown;
}

void CVuMeter::draw(CDrawContext* context) {
    if (!context) {
        return;
    }
    // Without a lit picture or without LEDs there is no bar: nothing to draw, and nothing
    // left to fall, so the meter does not stay dirty.
    if (!onBitmap || ledCount <= 0) {
        setLastValue(getValue());
        return;
    }
    const float shown = nextShownLevel();
    // Single precision throughout, as the bar's LED boundaries are defined.
    const float leds = static_cast<float>(ledCount);
    CPosition onSource;
    CPosition offSource;
    if (style & kSliderHorizontal) {
        const std::int32_t lit = toPixels(leds * shown + 0.5f);
        const std::int32_t x = toPixels(static_cast<float>(lit) / leds * onBitmap->getWidth());
        offSource = CPosition{x, 0};
        offRect.left = bounds.left + x;
        onRect.right = bounds.left + x;
    } else {
        const std::int32_t dark = toPixels((maximum - shown) * leds + 0.5f);
        const std::int32_t y = toPixels(static_cast<float>(dark) / leds * onBitmap->getHeight());
        onSource = CPosition{0, y};
        offRect.bottom = bounds.top + y;
        onRect.top = bounds.top + y;
    }
    if (offBitmap) {
        if (transparent) {
            offBitmap->drawTransparent(context, offRect, offSource);
        } else {
            offBitmap->draw(context, offRect, offSource);
        }
    }
    if (transparent) {
        onBitmap->drawTransparent(context, onRect, onSource);
    } else {
        onBitmap->draw(context, onRect, onSource);
    }
}
