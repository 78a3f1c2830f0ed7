#include "meter_loudness/reset_button.h"

#include "gui/control_listener.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/native_window.h"
#include "gui/resource_bitmap.h"

ResetButton::ResetButton(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                         CResourceBitmap* pictures)
    : CControl(size, listener, tag, pictures) {
    defaultValue = 0.0f;
}

void ResetButton::draw(CDrawContext* context) {
    const float shown = getValue();
    if (context && backgroundBitmap) {
        const std::int32_t picture = shown >= 0.5f ? bounds.height() : 0;
        backgroundBitmap->draw(context, bounds, {0, picture});
    }
    markDrawn(shown);
}

void ResetButton::mouseDown(CDrawContext* context, const CPosition&) {
    if (!isMouseEnabled() || !context) {
        return;
    }
    const std::int32_t state = context->getMouseState();
    if (!(state & kMouseLeft)) {
        return;
    }
    // A host may close the editor, or the effect with it, from the begin-edit, the press's
    // automation or the idle the loop gives it: the window is gone then, and the button
    // acts no more, as its panel may be gone too.
    const bool framed = frame != nullptr;
    retain();
    if (frame) {
        frame->beginEdit(tag);
    }
    if (!framed || windowStillOpen()) {
        press(context, 1.0f);
    }
    while (windowStillOpen() && context->getMouseState() == state) {
        runHostIdle();
    }
    if (!framed || windowStillOpen()) {
        press(context, 0.0f);
    }
    if (frame) {
        frame->endEdit(tag);
    }
    release();
}

void ResetButton::press(CDrawContext* context, float newValue) {
    setValue(newValue);
    if (listener) {
        listener->valueChanged(context, this);  // both edges, whatever was drawn before
    }
}
