// A view that shows and edits one float value. Gestures report changes to the listener;
// values set from outside only mark the control dirty, and the frame's next idle draws it.
// Value, last value and the view's dirty flag may be written by the host's audio thread
// while the window thread draws, so they are relaxed atomics.
#pragma once

#include <atomic>
#include <cstdint>

#include "gui/view.h"

class CControlListener;
class CResourceBitmap;

class CControl : public CView {
  public:
    /// The background is retained.
    CControl(const CRectangle& size, CControlListener* listener, std::int32_t tag,
             CResourceBitmap* background = nullptr);
    /// Releases the background.
    ~CControl() override;

    /// Dirty when the value differs from the value last drawn, or when marked so.
    bool isDirty() const override;
    /// True also spoils the last value so the control stays dirty; false records the value
    /// as drawn.
    void setDirty(bool state) override;
    /// Clears the mark before drawing, and only the mark: the drawing records the value it
    /// showed, so a value or mark set meanwhile by another thread keeps the control dirty.
    void redrawIfDirty(CDrawContext* context) override;

    /// Serves screen and host during a drag; nothing without a frame.
    virtual void runHostIdle();
    /// Stores only: no clamping, no listener call, no drawing.
    virtual void setValue(float newValue);
    virtual float getValue() const;
    virtual void setMin(float newMinimum);
    virtual float getMin() const;
    virtual void setMax(float newMaximum);
    virtual float getMax() const;
    virtual void setLastValue(float newLastValue);
    virtual float getLastValue() const;
    /// The value a Ctrl + left click restores.
    virtual void setDefaultValue(float newDefault);
    virtual float getDefaultValue() const;
    virtual void setTag(std::int32_t newTag);
    /// Releases the previous background and retains the new one.
    virtual void setBackground(CResourceBitmap* bitmap);
    virtual CResourceBitmap* getBackground() const;
    virtual void setBackgroundOffset(const CPosition& offset);
    /// Makes the background offset the control's top-left, for a background that is the
    /// whole panel.
    virtual void alignBackgroundOffset();
    /// Value change per unit of wheel distance or per arrow key.
    virtual void setWheelStep(float step);
    virtual float getWheelStep() const;
    /// Brings the value into minimum .. maximum; a value that is not a number becomes the
    /// minimum.
    virtual void clampValue();

    std::int32_t getTag() const { return tag; }
    /// True for the second of two calls within the double-click time.
    bool isDoubleClick();

  protected:
    /// Ctrl + left click: the default value, reported when it changed; no edit bracket.
    static constexpr std::int32_t kDefaultClick = 17;

    /// Clears the dirty state with `shown` as the value on screen: a value another thread
    /// set while the drawing ran keeps the control dirty.
    void markDrawn(float shown);
    /// Calls the listener when the control is dirty.
    void reportIfDirty(CDrawContext* context);
    /// Whether a press starts a drag: the control takes the mouse and the left button is
    /// down, `state` then holding the press's mouse state. A Ctrl + left click restores the
    /// default value instead (reported when it changed; no edit bracket) and starts none.
    bool startsLeftDrag(CDrawContext* context, std::int32_t& state);
    /// False once the frame or its window is gone: a drag loop must end then.
    bool windowStillOpen() const;
    /// Truncates towards zero into a range no pixel coordinate leaves; not-a-number gives 0.
    static std::int32_t toPixels(double position);

    CControlListener* listener;
    std::int32_t tag;
    std::atomic<float> lastValue{1.0f};
    float defaultValue = 0.5f;
    std::atomic<float> value{0.0f};
    float minimum = 0.0f;
    float maximum = 1.0f;
    float wheelStep = 0.1f;
    std::int32_t lastClickTime = -1;
    std::int32_t doubleClickTime;
    CResourceBitmap* backgroundBitmap;
    /// Source offset into the background.
    CPosition backOffset;
};
