// A switch of several positions, shown as one picture per position from a vertical strip.
// A press selects the position of the zone under the cursor; dragging moves between zones.
#pragma once

#include <cstdint>

#include "gui/control.h"

class CVerticalSwitch : public CControl {
  public:
    /// The switch's height is divided into `positionCount` zones over the first
    /// `imageHeight` pixels; the background is retained. Default value 0.
    CVerticalSwitch(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                    std::int32_t subImageCount, std::int32_t imageHeight,
                    std::int32_t positionCount, CResourceBitmap* background,
                    const CPosition& offset);

    void draw(CDrawContext* context) override;
    /// Follows the drag until the button and modifier state of the press changes.
    void mouseDown(CDrawContext* context, const CPosition& where) override;

  protected:
    /// The value of the zone at window row `y`, 0 .. 1.
    float valueAt(std::int32_t y) const;

    /// Stored only.
    CPosition offset;
    /// Stored only.
    std::int32_t subImageCount;
    /// Height of one picture in the strip.
    std::int32_t imageHeight;
    std::int32_t positionCount;
};
