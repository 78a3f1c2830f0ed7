// Colours as the toolkit passes them: red, green, blue and a spare byte.
#pragma once

#include <cstdint>

struct CRgbColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t spare = 0;

    /// The native colour value: red + 256 × green + 65536 × blue.
    std::uint32_t native() const {
        return red | (static_cast<std::uint32_t>(green) << 8) |
               (static_cast<std::uint32_t>(blue) << 16);
    }
    /// The spare byte takes no part in the comparison.
    bool operator==(const CRgbColour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const CRgbColour& other) const { return !(*this == other); }
};

constexpr CRgbColour kColourBlack{0, 0, 0, 0};
constexpr CRgbColour kColourWhite{255, 255, 255, 0};
constexpr CRgbColour kColourRed{255, 0, 0, 0};
constexpr CRgbColour kColourTransparentKey{255, 255, 255, 0};
