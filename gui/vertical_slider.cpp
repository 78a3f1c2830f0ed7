#include "gui/vertical_slider.h"

CVerticalSlider::CVerticalSlider(const CRectangle& size, CControlListener* listener,
                                 std::int32_t tag, std::int32_t minPosition,
                                 std::int32_t maxPosition, CResourceBitmap* handle,
                                 CResourceBitmap* background, const CPosition& backgroundOffset,
                                 std::int32_t style)
    : CSlider(size, listener, tag, minPosition, maxPosition, handle, background, backgroundOffset,
              style | kSliderVertical) {}
