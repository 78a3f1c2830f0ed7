// Orientation and direction bits shared by the meter and the slider.
#pragma once

#include <cstdint>

enum CSliderStyle : std::int32_t {
    kSliderHorizontal = 1,
    kSliderVertical = 2,
    /// The minimum at the top or left end.
    kSliderFromTop = 8,
    /// The minimum at the bottom or right end.
    kSliderFromBottom = 16,
    kSliderFromLeft = 32,
    kSliderFromRight = 64,
};
