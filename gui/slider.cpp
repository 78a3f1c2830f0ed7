#include "gui/slider.h"

#include <algorithm>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/native_platform.h"
#include "gui/offscreen_context.h"
#include "gui/resource_bitmap.h"

CSlider::CSlider(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                 std::int32_t minPosition, std::int32_t maxPosition, CResourceBitmap* handle,
                 CResourceBitmap* background, const CPosition& backgroundOffset, std::int32_t style)
    : CControl(size, listener, tag, background),
      sliderBackOffset(backgroundOffset),
      handle(handle),
      handleWidth(handle ? handle->getWidth() : 1),
      handleHeight(handle ? handle->getHeight() : 1),
      handleRange(maxPosition - minPosition),
      style(style),
      minimumOffset(minPosition - ((style & kSliderHorizontal) ? size.left : size.top)),
      controlWidth(size.width()),
      controlHeight(size.height()) {
    if (handle) {
        handle->retain();
    }
    updateHandleLimits();
}

CSlider::~CSlider() {
    offscreen.reset();
    if (handle) {
        handle->release();
    }
}

void CSlider::updateHandleLimits() {
    if (isHorizontal()) {
        lowestHandlePosition = handleOffset.x + minimumOffset;
        highestHandleEnd = lowestHandlePosition + handleRange + handleWidth;
    } else {
        lowestHandlePosition = handleOffset.y + minimumOffset;
        highestHandleEnd = lowestHandlePosition + handleRange + handleHeight;
    }
}

float CSlider::drawnFraction(float shown) const {
    return minimumAtLowEnd() ? shown : 1.0f - shown;
}

std::int32_t CSlider::handleTravel(float shown) const {
    return toPixels(drawnFraction(shown) * static_cast<float>(handleRange));
}

void CSlider::draw(CDrawContext* context) {
    if (!context || !offscreen) {
        return;
    }
    const float shown = getValue();
    if (backgroundBitmap) {
        const CRectangle whole{0, 0, controlWidth, controlHeight};
        if (transparent) {
            backgroundBitmap->drawTransparent(offscreen.get(), whole, sliderBackOffset);
        } else {
            backgroundBitmap->draw(offscreen.get(), whole, sliderBackOffset);
        }
    }
    CRectangle r;
    if (isHorizontal()) {
        r.top = handleOffset.y;
        r.bottom = r.top + handleHeight;
        r.left = std::max(handleTravel(shown) + handleOffset.x, lowestHandlePosition);
        r.right = std::min(r.left + handleWidth, highestHandleEnd);
    } else {
        r.left = handleOffset.x;
        r.right = r.left + handleWidth;
        r.top = std::max(handleTravel(shown) + handleOffset.y, lowestHandlePosition);
        r.bottom = std::min(r.top + handleHeight, highestHandleEnd);
    }
    if (handle) {
        if (handleTransparent) {
            handle->drawTransparent(offscreen.get(), r, {0, 0});
        } else {
            handle->draw(offscreen.get(), r, {0, 0});
        }
    }
    offscreen->blitTo(context, bounds, {0, 0});
    markDrawn(shown);
}

bool CSlider::dragOrigin(const CPosition& where, std::int32_t& origin) const {
    const bool horizontal = isHorizontal();
    origin = horizontal ? bounds.left + handleOffset.x : bounds.top + handleOffset.y;
    if (freeClick) {
        origin += (horizontal ? handleWidth : handleHeight) / 2 - 1;
        return true;
    }
    // Only the handle can be grabbed; it keeps the point where it was taken.
    const std::int32_t at = handleTravel(getValue()) + origin;
    const std::int32_t acrossStart =
        horizontal ? bounds.top + handleOffset.y : bounds.left + handleOffset.x;
    const std::int32_t along = horizontal ? where.x : where.y;
    const std::int32_t across = horizontal ? where.y : where.x;
    const std::int32_t alongSize = horizontal ? handleWidth : handleHeight;
    const std::int32_t acrossSize = horizontal ? handleHeight : handleWidth;
    if (along < at || along > at + alongSize || across < acrossStart ||
        across > acrossStart + acrossSize) {
        return false;
    }
    origin += along - at;
    return true;
}

float CSlider::valueAt(const CPosition& where, std::int32_t origin) const {
    const std::int32_t along = isHorizontal() ? where.x : where.y;
    const float fraction = static_cast<float>(along - origin) / static_cast<float>(handleRange);
    return minimumAtLowEnd() ? fraction : 1.0f - fraction;
}

void CSlider::mouseDown(CDrawContext* context, const CPosition& where) {
    std::int32_t state = 0;
    if (!startsLeftDrag(context, state)) {
        return;
    }
    // Without travel no cursor position stands for a value.
    std::int32_t origin = 0;
    if (handleRange <= 0 || !dragOrigin(where, origin)) {
        return;
    }
    const float zoom = zoomFactor > 0.0f ? zoomFactor : 1.0f;
    float old = getValue();
    std::int32_t previous = state;
    // A host may close the editor, or the effect with it, from the begin-edit, the
    // automation or the idle the loop gives it: the control then outlives its frame until
    // the loop has ended, and acts no more, as the listener may be gone.
    const bool framed = frame != nullptr;
    retain();
    if (frame) {
        frame->beginEdit(tag);
        frame->setFocusView(this);
    }
    // The first pass acts on the press itself, even when the button is already up again.
    std::int32_t current = state;
    CPosition cursor = where;
    while (!framed || windowStillOpen()) {
        if (current != previous && (current & kKeyShift)) {
            old = getValue();
            previous = current;
        } else if (!(current & kKeyShift)) {
            old = getValue();
        }
        float next = valueAt(cursor, origin);
        if (current & kKeyShift) {
            next = old + (next - old) / zoom;
        }
        setValue(next);
        clampValue();
        reportIfDirty(context);
        if (!windowStillOpen()) {
            break;
        }
        context->getMousePosition(cursor);
        runHostIdle();
        if (!windowStillOpen()) {
            break;
        }
        current = context->getMouseState();
        if (!(current & kMouseLeft)) {
            break;
        }
    }
    if (frame) {
        frame->endEdit(tag);
    }
    release();
}

std::int32_t CSlider::keyDown(VstKeyCode& keyCode) {
    float step = 0.0f;
    switch (keyCode.virt) {
        case VKEY_LEFT:
        case VKEY_DOWN:
            step = -1.0f;
            break;
        case VKEY_UP:
        case VKEY_RIGHT:
            step = 1.0f;
            break;
        default:
            return -1;
    }
    if (keyCode.modifier & MODIFIER_SHIFT) {
        step *= 0.1f;
    }
    setValue(getValue() + wheelStep * step);
    clampValue();
    reportIfDirty(nullptr);
    return 1;
}

bool CSlider::wheel(CDrawContext* context, const CPosition& where, float distance) {
    (void)where;
    if (!isMouseEnabled()) {
        return false;
    }
    const bool fine = context && (context->getMouseState() & kKeyShift);
    setValue(getValue() + wheelStep * (fine ? distance * 0.1f : distance));
    clampValue();
    reportIfDirty(context);
    return true;
}

bool CSlider::attachedTo(CView* parent) {
    CFrame* owner = frame ? frame : dynamic_cast<CFrame*>(parent);
    offscreen.reset();
    offscreen =
        std::make_unique<COffscreenContext>(owner, controlWidth, controlHeight, kColourBlack);
    return true;
}

bool CSlider::detachedFrom(CView* parent) {
    (void)parent;
    offscreen.reset();
    return true;
}

void CSlider::setHandleTransparent(bool state) {
    handleTransparent = state;
}

void CSlider::setFreeClick(bool state) {
    freeClick = state;
}

bool CSlider::isFreeClick() const {
    return freeClick;
}

void CSlider::setHandleOffset(const CPosition& offset) {
    handleOffset = offset;
    updateHandleLimits();
}

void CSlider::setHandle(CResourceBitmap* bitmap) {
    CResourceBitmap::exchange(handle, bitmap);
    handleWidth = handle ? handle->getWidth() : 1;
    handleHeight = handle ? handle->getHeight() : 1;
    // The far edge's clamp depends on the handle's size.
    updateHandleLimits();
}

CResourceBitmap* CSlider::getHandle() const {
    return handle;
}

void CSlider::setZoomFactor(float factor) {
    zoomFactor = factor;
}

float CSlider::getZoomFactor() const {
    return zoomFactor;
}
