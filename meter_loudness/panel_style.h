// What the loudness panel's views share: the art's colours as the toolkit takes them, and
// the mapping from a loudness to a pixel row.
#pragma once

#include <cmath>
#include <cstdint>

#include "gui/colour.h"
#include "gui/draw_context.h"
#include "resources/art_colours.h"

namespace panel_style {

constexpr CRgbColour toolkit(BmpImage::Colour colour) {
    return {colour.red, colour.green, colour.blue, 0};
}

constexpr CRgbColour kGlass = toolkit(ArtColours::kMeterGround);
constexpr CRgbColour kGlassInk = toolkit(ArtColours::kScaleInk);
constexpr CRgbColour kGreen = toolkit(ArtColours::kGreen);
constexpr CRgbColour kYellow = toolkit(ArtColours::kYellow);
constexpr CRgbColour kRed = toolkit(ArtColours::kRed);
constexpr CRgbColour kLampOn = toolkit(ArtColours::kLampOn);
constexpr CRgbColour kLampOff = toolkit(ArtColours::kLampOff);
/// Unlit bar segments and grid lines on the glass.
constexpr CRgbColour kUnlit{86, 30, 28, 0};
constexpr CRgbColour kTargetMark{255, 255, 255, 0};

/// Loudness below the target's tolerance band.
constexpr CRgbColour kBelowBand{64, 150, 230, 0};
/// Above the band, yellow up to this far beyond it, red further.
constexpr double kYellowBeyondBand = 2.0;

/// The colour of a bar segment or a graph point at `level`: blue below the band of
/// `tolerance` LU either side of `target`, green in it, yellow then red above it.
inline CRgbColour bandColour(double level, double target, double tolerance) {
    const double above = level - target;
    if (above < -tolerance) {
        return kBelowBand;
    }
    if (above <= tolerance) {
        return kGreen;
    }
    return above > tolerance + kYellowBeyondBand ? kRed : kYellow;
}

/// Fills the half-open box [left, right) x [top, bottom) in the fill colour.
inline void fillBox(CDrawContext* context, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom) {
    context->fillRect({left - 1, top - 1, right, bottom});
}

/// Loudness from `bottom` to `top` LUFS over the pixel rows from `lowRow` (exclusive end,
/// the bottom edge) up to `highRow`.
struct LevelScale {
    double bottom = -41.0;
    double top = -14.0;
    std::int32_t highRow = 0;
    std::int32_t lowRow = 1;

    bool operator==(const LevelScale& other) const {
        return bottom == other.bottom && top == other.top && highRow == other.highRow &&
               lowRow == other.lowRow;
    }
    bool operator!=(const LevelScale& other) const { return !(*this == other); }

    /// The row a level reaches up to, clamped to the scale; lowRow for undefined levels.
    std::int32_t rowOf(double lufs) const {
        if (!(lufs > bottom)) {
            return lowRow;
        }
        const double fraction = lufs >= top ? 1.0 : (lufs - bottom) / (top - bottom);
        return lowRow - static_cast<std::int32_t>(std::lround(fraction * (lowRow - highRow)));
    }
};

}  // namespace panel_style
