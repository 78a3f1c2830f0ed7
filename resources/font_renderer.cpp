#include "resources/font_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <cmath>

#include "gui/native/soft/font_file.h"

namespace {

constexpr const char* kFamily = "Liberation Sans";

}  // namespace

struct FontRenderer::Library {
    FT_Library freetype = nullptr;
    FT_Face faces[3] = {};

    ~Library() {
        for (FT_Face face : faces) {
            if (face) {
                FT_Done_Face(face);
            }
        }
        if (freetype) {
            FT_Done_FreeType(freetype);
        }
    }
};

FontRenderer::FontRenderer() : library(std::make_unique<Library>()) {}

FontRenderer::~FontRenderer() = default;

bool FontRenderer::load(std::string& error) {
    if (FT_Init_FreeType(&library->freetype) != 0) {
        error = "FreeType does not start";
        return false;
    }
    const char* const styles[] = {"Regular", "Bold", "Italic"};
    for (int face = 0; face < 3; ++face) {
        // Only the family itself: fontconfig would otherwise offer a substitute.
        CFontFile file;
        if (!CFontFile::find(kFamily, face == 1, face == 2, 0.0, file) || file.family != kFamily ||
            FT_New_Face(library->freetype, file.path.c_str(), file.index, &library->faces[face]) !=
                0) {
            error = std::string(kFamily) + " " + styles[face] + " is not installed";
            return false;
        }
    }
    return true;
}

FontRenderer::Extent FontRenderer::measure(const std::string& text, const Style& style) const {
    return render(nullptr, 0, 0, text, style, {0, 0, 0});
}

int FontRenderer::capHeight(const Style& style) const {
    return -measure("H", style).top;
}

void FontRenderer::draw(BmpImage& image, float x, int baseline, const std::string& text,
                        const Style& style, BmpImage::Colour colour, Align align) const {
    const Extent ink = measure(text, style);
    float left = x;
    if (align == Align::kCentre) {
        left = x - ink.width() / 2.0f;
    } else if (align == Align::kRight) {
        left = x - ink.width();
    }
    render(&image, int(std::lround(left)) - ink.left, baseline, text, style, colour);
}

void FontRenderer::drawMiddle(BmpImage& image, float x, int centreY, const std::string& text,
                              const Style& style, BmpImage::Colour colour, Align align) const {
    const int cap = capHeight(style);
    draw(image, x, centreY + (cap + 1) / 2, text, style, colour, align);
}

FontRenderer::Extent FontRenderer::render(BmpImage* image, int penX, int baseline,
                                          const std::string& text, const Style& style,
                                          BmpImage::Colour colour) const {
    const FT_Face face = library->faces[static_cast<int>(style.face)];
    Extent ink{INT_MAX, INT_MIN, INT_MAX, INT_MIN};
    if (!face || FT_Set_Pixel_Sizes(face, 0, FT_UInt(style.size)) != 0) {
        return {};
    }
    // Glyphs are hinted to whole pixels, advances included, for crisp small legends.
    double pen = penX;
    FT_UInt previous = 0;
    for (const unsigned char character : text) {
        const FT_UInt index = FT_Get_Char_Index(face, character);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kern{};
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
            pen += kern.x / 64.0;
        }
        previous = index;
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) {
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        const int left = int(std::lround(pen)) + glyph->bitmap_left;
        const int top = baseline - glyph->bitmap_top;
        for (int row = 0; row < int(bitmap.rows); ++row) {
            for (int column = 0; column < int(bitmap.width); ++column) {
                const int coverage = bitmap.buffer[row * bitmap.pitch + column];
                if (coverage == 0) {
                    continue;
                }
                ink.left = std::min(ink.left, left + column);
                ink.right = std::max(ink.right, left + column + 1);
                ink.top = std::min(ink.top, top + row);
                ink.bottom = std::max(ink.bottom, top + row + 1);
                if (image) {
                    image->blendPixel(left + column, top + row, colour, coverage / 255.0f);
                }
            }
        }
        pen += glyph->advance.x / 64.0 + style.tracking;
    }
    if (ink.left > ink.right) {
        return {};
    }
    ink.left -= penX;
    ink.right -= penX;
    ink.top -= baseline;
    ink.bottom -= baseline;
    return ink;
}
