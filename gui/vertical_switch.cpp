#include "gui/vertical_switch.h"

#include <algorithm>
#include <cmath>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/native_platform.h"
#include "gui/resource_bitmap.h"

CVerticalSwitch::CVerticalSwitch(const CRectangle& size, CControlListener* listener,
                                 std::int32_t tag, std::int32_t subImageCount,
                                 std::int32_t imageHeight, std::int32_t positionCount,
                                 CResourceBitmap* background, const CPosition& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      subImageCount(subImageCount),
      imageHeight(imageHeight),
      positionCount(positionCount) {
    defaultValue = 0.0f;
}

void CVerticalSwitch::draw(CDrawContext* context) {
    if (!context) {
        return;
    }
    const float shown = getValue();
    if (backgroundBitmap) {
        const std::int32_t picture = toPixels((positionCount - 1) * shown + 0.5f);
        const CPosition source{0, toPixels(double(picture) * imageHeight)};
        if (transparent) {
            backgroundBitmap->drawTransparent(context, bounds, source);
        } else {
            backgroundBitmap->draw(context, bounds, source);
        }
    }
    markDrawn(shown);
}

float CVerticalSwitch::valueAt(std::int32_t y) const {
    // One position has nowhere to move; a strip without picture height is divided over
    // the switch's own height instead.
    if (positionCount < 2) {
        return 0.0f;
    }
    const double height = imageHeight > 0 ? imageHeight : bounds.height();
    const double zone = height / positionCount;
    if (!(zone > 0.0)) {
        return 0.0f;
    }
    const double last = positionCount - 1;
    const double index = std::clamp(std::trunc((y - bounds.top) / zone), 0.0, last);
    return static_cast<float>(index / last);
}

void CVerticalSwitch::mouseDown(CDrawContext* context, const CPosition& where) {
    std::int32_t state = 0;
    if (!startsLeftDrag(context, state)) {
        return;
    }
    // A host may close the editor, or the effect with it, from the begin-edit, the
    // automation or the idle the loop gives it: the control then outlives its frame until
    // the loop has ended, and acts no more, as the listener may be gone.
    const bool framed = frame != nullptr;
    retain();
    if (frame) {
        frame->beginEdit(tag);
    }
    // The first pass acts on the press itself, even when the button is already up again.
    CPosition cursor = where;
    while (!framed || windowStillOpen()) {
        setValue(valueAt(cursor.y));
        reportIfDirty(context);
        if (!windowStillOpen()) {
            break;
        }
        context->getMousePosition(cursor);
        runHostIdle();
        if (!windowStillOpen() || context->getMouseState() != state) {
            break;
        }
    }
    if (frame) {
        frame->endEdit(tag);
    }
    release();
}
