// A slider: a handle bitmap moved over a background, composed in an offscreen of its own
// and copied onto the window in one blit. Follows a mouse drag (Shift for fine steps),
// the arrow keys while it has the focus, and the wheel.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/control.h"
#include "gui/control_styles.h"

class COffscreenContext;

class CSlider : public CControl {
  public:
    /// The handle travels from `minPosition` to `maxPosition` (window pixels along the
    /// slider); both bitmaps are retained.
    CSlider(const CRectangle& size, CControlListener* listener, std::int32_t tag,
            std::int32_t minPosition, std::int32_t maxPosition, CResourceBitmap* handle,
            CResourceBitmap* background, const CPosition& backgroundOffset, std::int32_t style);
    ~CSlider() override;

    /// Draws nothing, and stays dirty, before it has an offscreen (before it is attached).
    void draw(CDrawContext* context) override;
    void mouseDown(CDrawContext* context, const CPosition& where) override;
    /// Arrow keys step by the wheel step, a tenth of it with Shift.
    std::int32_t keyDown(VstKeyCode& keyCode) override;
    bool wheel(CDrawContext* context, const CPosition& where, float distance) override;
    /// Deletes the offscreen.
    bool detachedFrom(CView* parent) override;
    /// Creates the offscreen.
    bool attachedTo(CView* parent) override;

    /// Draws the handle leaving out its transparent colour.
    virtual void setHandleTransparent(bool state);
    /// A press anywhere moves the handle to the cursor; otherwise only the handle is grabbed.
    virtual void setFreeClick(bool state);
    virtual bool isFreeClick() const;
    /// Origin of the handle's travel inside the control.
    virtual void setHandleOffset(const CPosition& offset);
    /// Releases the old handle, retains the new one and takes its size.
    virtual void setHandle(CResourceBitmap* bitmap);
    virtual CResourceBitmap* getHandle() const;
    /// Divisor of the mouse movement while Shift is held.
    virtual void setZoomFactor(float factor);
    virtual float getZoomFactor() const;

  protected:
    bool isHorizontal() const { return (style & kSliderHorizontal) != 0; }
    /// Whether the minimum is at the top or left end; drawing and mouse both follow this.
    bool minimumAtLowEnd() const { return (style & (kSliderFromTop | kSliderFromLeft)) != 0; }
    /// `shown` as drawn: 0 at the top or left end.
    float drawnFraction(float shown) const;
    /// Handle position along the slider for `shown`, relative to the handle offset.
    std::int32_t handleTravel(float shown) const;
    void updateHandleLimits();
    /// Where a drag starts measuring from; false when the press misses the handle.
    bool dragOrigin(const CPosition& where, std::int32_t& origin) const;
    /// The value for a cursor at `where` during a drag that measures from `origin`.
    float valueAt(const CPosition& where, std::int32_t origin) const;

    /// Source offset into the background (the control's own offset is not used).
    CPosition sliderBackOffset;
    CPosition handleOffset;
    CResourceBitmap* handle;
    std::unique_ptr<COffscreenContext> offscreen;
    std::int32_t handleWidth;
    std::int32_t handleHeight;
    /// Pixels of travel.
    std::int32_t handleRange;
    std::int32_t style;
    /// Clamp for the drawn handle's near edge.
    std::int32_t lowestHandlePosition = 0;
    /// Clamp for the drawn handle's far edge.
    std::int32_t highestHandleEnd = 0;
    /// The minimum position relative to the control's top or left.
    std::int32_t minimumOffset;
    std::int32_t controlWidth;
    std::int32_t controlHeight;
    float zoomFactor = 10.0f;
    bool handleTransparent = true;
    bool freeClick = true;
};
