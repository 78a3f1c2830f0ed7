#pragma once

#include <string>

#include "resources/bmp_image.h"

/// A 5 x 7 pixel font for the panel labels (capitals, digits, a few signs).
class PixelFont {
  public:
    static constexpr int kGlyphWidth = 5;
    static constexpr int kGlyphHeight = 7;
    static constexpr int kAdvance = kGlyphWidth + 1;

    /// Width in pixels of text drawn at the given scale.
    static int textWidth(const std::string& text, int scale = 1);
    /// Draws text with its top-left corner at (x, y); unknown characters stay blank.
    static void drawText(BmpImage& image, int x, int y, const std::string& text,
                         BmpImage::Colour colour, int scale = 1);
    /// Draws text centred horizontally on centreX.
    static void drawCentred(BmpImage& image, int centreX, int y, const std::string& text,
                            BmpImage::Colour colour, int scale = 1);
};
