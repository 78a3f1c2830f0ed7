// An LED bar meter: the lit picture up to the level, the dark one after it, snapped to
// whole LEDs. The shown level jumps up at once and falls by at most one step per drawing,
// so a falling bar stays dirty until it has reached the value.
#pragma once

#include <cstdint>

#include "gui/control.h"
#include "gui/control_styles.h"

class CVuMeter : public CControl {
  public:
    /// Both bitmaps are retained; the off bitmap may be null. Style kSliderHorizontal grows
    /// the bar to the right, otherwise it grows upwards.
    CVuMeter(const CRectangle& size, CResourceBitmap* onBitmap, CResourceBitmap* offBitmap,
             std::int32_t ledCount, std::int32_t style);
    ~CVuMeter() override;

    void draw(CDrawContext* context) override;
    /// Sets the view's flag only: the last value is the shown level of the falling bar.
    void setDirty(bool state) override;

    /// How far the shown level may fall per drawing.
    virtual void setDecreaseStep(float step);

  protected:
    /// Takes the next shown level from the value and the last one, inside the range.
    float nextShownLevel();

    CResourceBitmap* onBitmap;
    CResourceBitmap* offBitmap;
    std::int32_t ledCount;
    std::int32_t style;
    float decreaseStep = 0.1f;
    /// Where the lit part is drawn; one side moves with the level.
    CRectangle onRect;
    /// Where the dark part is drawn; one side moves with the level.
    CRectangle offRect;
};
