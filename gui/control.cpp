#include "gui/control.h"

#include <algorithm>
#include <cmath>

#include "gui/control_listener.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/native_platform.h"
#include "gui/resource_bitmap.h"

namespace {

constexpr std::uint32_t kShortestDoubleClickTime = 250;
/// Far outside any window, yet safe to add a few of them in 32 bits.
constexpr double kPixelLimit = 1 << 24;

}  // namespace

CControl::CControl(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                   CResourceBitmap* background)
    : CView(size),
      listener(listener),
      tag(tag),
      doubleClickTime(static_cast<std::int32_t>(std::min<std::uint32_t>(
          std::max(CNativePlatform::current().doubleClickTime(), kShortestDoubleClickTime),
          1u << 30))),
      backgroundBitmap(background) {
    if (backgroundBitmap) {
        backgroundBitmap->retain();
    }
    transparent = false;
    mouseEnabled = true;
}

CControl::~CControl() {
    if (backgroundBitmap) {
        backgroundBitmap->release();
    }
}

bool CControl::isDirty() const {
    // An unordered comparison (a value that is not a number) counts as a change.
    const float shown = lastValue.load(std::memory_order_relaxed);
    const float current = value.load(std::memory_order_relaxed);
    return !(shown == current) || CView::isDirty();
}

void CControl::setDirty(bool state) {
    CView::setDirty(state);
    const float current = value.load(std::memory_order_relaxed);
    if (state) {
        lastValue.store(current == -1.0f ? 0.0f : -1.0f, std::memory_order_relaxed);
    } else {
        lastValue.store(current, std::memory_order_relaxed);
    }
}

void CControl::redrawIfDirty(CDrawContext* context) {
    if (context && isDirty()) {
        CView::setDirty(false);
        draw(context);
    }
}

void CControl::runHostIdle() {
    if (frame) {
        frame->runHostIdle();
    }
}

void CControl::setValue(float newValue) {
    value.store(newValue, std::memory_order_relaxed);
}

float CControl::getValue() const {
    return value.load(std::memory_order_relaxed);
}

void CControl::setMin(float newMinimum) {
    minimum = newMinimum;
}

float CControl::getMin() const {
    return minimum;
}

void CControl::setMax(float newMaximum) {
    maximum = newMaximum;
}

float CControl::getMax() const {
    return maximum;
}

void CControl::setLastValue(float newLastValue) {
    lastValue.store(newLastValue, std::memory_order_relaxed);
}

float CControl::getLastValue() const {
    return lastValue.load(std::memory_order_relaxed);
}

void CControl::setDefaultValue(float newDefault) {
    defaultValue = newDefault;
}

float CControl::getDefaultValue() const {
    return defaultValue;
}

void CControl::setTag(std::int32_t newTag) {
    tag = newTag;
}

void CControl::setBackground(CResourceBitmap* bitmap) {
    CResourceBitmap::exchange(backgroundBitmap, bitmap);
}

CResourceBitmap* CControl::getBackground() const {
    return backgroundBitmap;
}

void CControl::setBackgroundOffset(const CPosition& offset) {
    backOffset = offset;
}

void CControl::alignBackgroundOffset() {
    backOffset = CPosition{bounds.left, bounds.top};
}

void CControl::setWheelStep(float step) {
    wheelStep = step;
}

float CControl::getWheelStep() const {
    return wheelStep;
}

void CControl::clampValue() {
    const float current = getValue();
    if (current > maximum) {
        setValue(maximum);
    } else if (current < minimum || std::isnan(current)) {
        setValue(minimum);
    }
}

bool CControl::isDoubleClick() {
    const std::int64_t now = frame ? static_cast<std::int32_t>(frame->getTicks()) : 0;
    if (lastClickTime > 0 && now < std::int64_t(lastClickTime) + doubleClickTime) {
        lastClickTime = 0;
        return true;
    }
    lastClickTime = static_cast<std::int32_t>(now);
    return false;
}

void CControl::markDrawn(float shown) {
    CView::setDirty(false);
    lastValue.store(shown, std::memory_order_relaxed);
}

void CControl::reportIfDirty(CDrawContext* context) {
    if (listener && isDirty()) {
        listener->valueChanged(context, this);
    }
}

bool CControl::startsLeftDrag(CDrawContext* context, std::int32_t& state) {
    if (!isMouseEnabled() || !context) {
        return false;
    }
    state = context->getMouseState();
    if (state == kDefaultClick) {
        setValue(defaultValue);
        reportIfDirty(context);
        return false;
    }
    return (state & kMouseLeft) != 0;
}

bool CControl::windowStillOpen() const {
    return frame && frame->isWindowOpen();
}

std::int32_t CControl::toPixels(double position) {
    if (std::isnan(position)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp(position, -kPixelLimit, kPixelLimit));
}
