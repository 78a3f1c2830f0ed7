// The vertical form of the slider.
#pragma once

#include "gui/slider.h"

class CVerticalSlider : public CSlider {
  public:
    /// As CSlider, with kSliderVertical added to the style.
    CVerticalSlider(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                    std::int32_t minPosition, std::int32_t maxPosition, CResourceBitmap* handle,
                    CResourceBitmap* background, const CPosition& backgroundOffset,
                    std::int32_t style);
};
