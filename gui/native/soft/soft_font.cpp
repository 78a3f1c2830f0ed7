#include "gui/native/soft/soft_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "gui/native/soft/font_file.h"
#include "gui/native/soft/soft_surface.h"

namespace {

/// Unicode of the Windows-1252 characters 0x80 to 0x9F (0 where the code page has none).
constexpr std::uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

FT_ULong unicodeOf(unsigned char character) {
    if (character >= 0x80 && character < 0xA0) {
        return kWindows1252High[character - 0x80];
    }
    return character;
}

int scaled(long fontUnits, int pixelsPerEm, int unitsPerEm) {
    return int(std::lround(double(fontUnits) * pixelsPerEm / unitsPerEm));
}

const char* familyOf(const CFontDescription& description) {
    return description.face ? description.face : CFontDescription{}.face;
}

/// Guards the shared fonts and glyphs: hosts may run several editors on their own threads.
std::mutex& cacheLock() {
    static std::mutex lock;
    return lock;
}

/// The largest em size drawn, in pixels.
constexpr int kLargestEm = 1024;

using FontKey = std::tuple<std::string, int, bool, bool, bool>;

}  // namespace

struct CSoftFont::Face {
    FT_Face face = nullptr;
    bool embolden = false;
    bool oblique = false;
    /// Characters index a symbol font's own table instead of Unicode.
    FT_ULong symbolBase = 0;
    bool symbolTable = false;
    /// The cell above and below the baseline in font units.
    long ascentUnits = 0;
    long descentUnits = 0;

    ~Face() {
        if (face) {
            FT_Done_Face(face);
        }
    }
    FT_ULong charCode(unsigned char character) const {
        return symbolTable ? symbolBase | character : unicodeOf(character);
    }
};

struct CSoftFont::Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> coverage;
};

namespace {

/// The FreeType library and every font made with it. A host may unload the plug-in and load
/// it again: both go with the library, the fonts first, as their faces belong to it.
struct FontStore {
    FT_Library library = nullptr;
    std::map<FontKey, std::unique_ptr<CSoftFont>> fonts;

    FontStore() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
        }
    }
    ~FontStore() {
        fonts.clear();
        if (library) {
            FT_Done_FreeType(library);
        }
    }
};

FontStore& fontStore() {
    static FontStore store;
    return store;
}

FT_Library library() {
    return fontStore().library;
}

}  // namespace

CSoftFont* CSoftFont::get(const CFontDescription& description) {
    const std::lock_guard<std::mutex> hold(cacheLock());
    std::map<FontKey, std::unique_ptr<CSoftFont>>& fonts = fontStore().fonts;
    const FontKey key{familyOf(description), description.height, description.bold,
                      description.italic, description.underline};
    auto known = fonts.find(key);
    if (known != fonts.end()) {
        return known->second.get();
    }
    auto face = std::make_unique<Face>();
    CFontFile file;
    if (!library() ||
        !CFontFile::find(familyOf(description), description.bold, description.italic,
                         std::fabs(double(description.height)), file) ||
        FT_New_Face(library(), file.path.c_str(), file.index, &face->face) != 0) {
        fonts[key] = nullptr;
        return nullptr;
    }
    const FT_Face ft = face->face;
    // Windows takes the cell from the font's Windows ascent and descent where it has them.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    const bool windowsMetrics = os2 && os2->usWinAscent + os2->usWinDescent > 0;
    face->ascentUnits = windowsMetrics ? os2->usWinAscent : ft->ascender;
    face->descentUnits = windowsMetrics ? os2->usWinDescent : -ft->descender;
    const int em = pixelsPerEm(*face, description.height);
    if (FT_Set_Pixel_Sizes(ft, 0, FT_UInt(em)) != 0) {
        fonts[key] = nullptr;
        return nullptr;
    }
    face->embolden = file.embolden;
    face->oblique = file.oblique;
    selectCharacterMap(*face);
    auto& slot = fonts[key];
    slot.reset(new CSoftFont(std::move(face), em, description.underline));
    return slot.get();
}

int CSoftFont::pixelsPerEm(const Face& face, int height) {
    // Heights are character heights (em sizes); negative ones ask for the whole cell, as
    // a positive Windows font height does.
    const long units = face.face->units_per_EM > 0 ? face.face->units_per_EM : 2048;
    const long cell = std::max(1L, face.ascentUnits + face.descentUnits);
    long em = height > 0 ? long(height) : std::lround(-double(height) * units / cell);
    if (height == 0) {
        em = CFontDescription{}.height;
    }
    // Glyph pictures are cached whole, so absurd sizes are held to a screenful.
    return int(std::clamp(em, 1L, long(kLargestEm)));
}

void CSoftFont::selectCharacterMap(Face& face) {
    // Text is in the Windows code page. A Windows symbol font puts its glyphs at 0xF000
    // plus the byte; a font with neither table is indexed by the byte itself.
    if (FT_Select_Charmap(face.face, FT_ENCODING_MS_SYMBOL) == 0) {
        face.symbolTable = true;
        face.symbolBase = 0xF000;
    } else if (FT_Select_Charmap(face.face, FT_ENCODING_UNICODE) != 0) {
        face.symbolTable = true;
        if (face.face->num_charmaps > 0) {
            FT_Set_Charmap(face.face, face.face->charmaps[0]);
        }
    }
}

CSoftFont::CSoftFont(std::unique_ptr<Face> loaded, int em, bool underline)
    : face(std::move(loaded)), underline(underline) {
    const FT_Face ft = face->face;
    const int units = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
    ascentPixels = scaled(face->ascentUnits, em, units);
    descentPixels = scaled(face->descentUnits, em, units);
    underlineOffset = std::max(1, scaled(-ft->underline_position, em, units));
    underlineThickness = std::max(1, scaled(ft->underline_thickness, em, units));
}

CSoftFont::~CSoftFont() = default;

const CSoftFont::Glyph& CSoftFont::glyph(unsigned char character) {
    auto& cached = glyphs[character];
    if (cached) {
        return *cached;
    }
    cached = std::make_unique<Glyph>();
    const FT_Face ft = face->face;
    if (FT_Load_Char(ft, face->charCode(character), FT_LOAD_DEFAULT) != 0) {
        return *cached;
    }
    if (face->embolden) {
        FT_GlyphSlot_Embolden(ft->glyph);
    }
    if (face->oblique) {
        FT_GlyphSlot_Oblique(ft->glyph);
    }
    cached->advance = int((ft->glyph->advance.x + 32) >> 6);
    if (FT_Render_Glyph(ft->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        return *cached;
    }
    const FT_Bitmap& bitmap = ft->glyph->bitmap;
    cached->left = ft->glyph->bitmap_left;
    cached->top = ft->glyph->bitmap_top;
    cached->width = int(bitmap.width);
    cached->rows = int(bitmap.rows);
    cached->coverage.resize(std::size_t(cached->width) * cached->rows);
    for (int y = 0; y < cached->rows; ++y) {
        const unsigned char* source = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        for (int x = 0; x < cached->width; ++x) {
            const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            const int value = mono ? ((source[x >> 3] >> (7 - (x & 7))) & 1) * 255 : source[x];
            cached->coverage[std::size_t(y) * cached->width + x] = std::uint8_t(value);
        }
    }
    return *cached;
}

int CSoftFont::textWidth(const char* text) {
    const std::lock_guard<std::mutex> hold(cacheLock());
    int width = 0;
    for (const char* c = text; c && *c; ++c) {
        width += glyph(static_cast<unsigned char>(*c)).advance;
    }
    return width;
}

void CSoftFont::draw(CSoftSurface& surface, const char* text, CPosition origin,
                     const CRectangle& clip, std::uint32_t colour) {
    const std::lock_guard<std::mutex> hold(cacheLock());
    const int baseline = origin.y + ascentPixels;
    int x = origin.x;
    for (const char* c = text; c && *c; ++c) {
        const Glyph& shape = glyph(static_cast<unsigned char>(*c));
        drawGlyph(surface, shape, x, baseline, clip, colour);
        x += shape.advance;
    }
    if (!underline) {
        return;
    }
    const int top = std::max(clip.top, baseline + underlineOffset);
    const int bottom = std::min(clip.bottom, baseline + underlineOffset + underlineThickness);
    const int left = std::max(clip.left, origin.x);
    const int right = std::min(clip.right, x);
    for (int y = top; y < bottom; ++y) {
        for (int column = left; column < right; ++column) {
            surface.row(y)[column] = colour;
        }
    }
}

void CSoftFont::drawGlyph(CSoftSurface& surface, const Glyph& glyph, int x, int baseline,
                          const CRectangle& clip, std::uint32_t colour) {
    const int left = x + glyph.left;
    const int top = baseline - glyph.top;
    const int firstRow = std::max(0, clip.top - top);
    const int lastRow = std::min(glyph.rows, clip.bottom - top);
    const int firstColumn = std::max(0, clip.left - left);
    const int lastColumn = std::min(glyph.width, clip.right - left);
    for (int j = firstRow; j < lastRow; ++j) {
        std::uint32_t* target = surface.row(top + j);
        const std::uint8_t* cover = glyph.coverage.data() + std::size_t(j) * glyph.width;
        for (int i = firstColumn; i < lastColumn; ++i) {
            const unsigned alpha = cover[i];
            if (alpha == 0) {
                continue;
            }
            std::uint32_t mixed = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const unsigned under = (target[left + i] >> shift) & 0xFF;
                const unsigned over = (colour >> shift) & 0xFF;
                mixed |= ((under * (255 - alpha) + over * alpha + 127) / 255) << shift;
            }
            target[left + i] = mixed;
        }
    }
}
