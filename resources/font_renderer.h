#pragma once

#include <memory>
#include <string>

#include "resources/bmp_image.h"

/// Draws the panel's text in Liberation Sans through FreeType, antialiased against
/// whatever the picture holds beneath it.
class FontRenderer {
  public:
    enum class Face { kRegular, kBold, kItalic };
    enum class Align { kLeft, kCentre, kRight };

    /// How a piece of text looks: face, em size in pixels, extra space between letters.
    struct Style {
        Face face;
        int size;
        float tracking = 0.0f;
    };

    /// The inked box of a text: columns relative to the pen's start, rows relative to
    /// the baseline (negative above it). Half-open, empty when nothing is inked.
    struct Extent {
        int left = 0, right = 0, top = 0, bottom = 0;
        int width() const { return right - left; }
    };

    FontRenderer();
    ~FontRenderer();
    FontRenderer(const FontRenderer&) = delete;
    FontRenderer& operator=(const FontRenderer&) = delete;

    /// Finds and opens the three faces; false with a message when one is missing.
    bool load(std::string& error);

    Extent measure(const std::string& text, const Style& style) const;
    /// Height in pixels of a capital letter above the baseline.
    int capHeight(const Style& style) const;
    /// Draws text on the given baseline with its ink's left edge, centre or right edge
    /// at x; a centre between two columns is met as closely as whole pixels allow.
    void draw(BmpImage& image, float x, int baseline, const std::string& text, const Style& style,
              BmpImage::Colour colour, Align align) const;
    /// Draws text whose capitals are centred on centreY.
    void drawMiddle(BmpImage& image, float x, int centreY, const std::string& text,
                    const Style& style, BmpImage::Colour colour, Align align) const;

  private:
    struct Library;
    /// Renders text with its pen starting at column penX on the baseline; with image
    /// null, only the ink is measured.
    Extent render(BmpImage* image, int penX, int baseline, const std::string& text,
                  const Style& style, BmpImage::Colour colour) const;

    std::unique_ptr<Library> library;
};
