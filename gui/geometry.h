// Pixel geometry shared by the toolkit: points and rectangles in window coordinates.
#pragma once

#include <cstdint>

struct CPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

/// Drawing treats right and bottom as exclusive, hit testing as inclusive.
struct CRectangle {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};
