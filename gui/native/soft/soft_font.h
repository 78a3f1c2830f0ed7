// Text for the software surfaces: fonts found through fontconfig, drawn with FreeType as
// anti-aliased glyphs, measured the way the Windows text calls measure them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gui/geometry.h"
#include "gui/native/surface.h"

class CSoftSurface;

class CSoftFont {
  public:
    /// The process-wide font for `description` (faces and glyphs are cached for the
    /// process's life); null when no font file can be found. Never for the audio thread.
    static CSoftFont* get(const CFontDescription& description);
    ~CSoftFont();
    CSoftFont(const CSoftFont&) = delete;
    CSoftFont& operator=(const CSoftFont&) = delete;

    int ascent() const { return ascentPixels; }
    /// Height of a text cell: ascent plus descent.
    int height() const { return ascentPixels + descentPixels; }
    /// Sum of the advance widths of the characters of `text`.
    int textWidth(const char* text);
    /// Draws `text` with its cell's top-left at `origin`, only inside `clip`.
    void draw(CSoftSurface& surface, const char* text, CPosition origin, const CRectangle& clip,
              std::uint32_t colour);

  private:
    struct Glyph;
    struct Face;

    CSoftFont(std::unique_ptr<Face> loaded, int em, bool underline);
    static int pixelsPerEm(const Face& face, int height);
    static void selectCharacterMap(Face& face);
    const Glyph& glyph(unsigned char character);
    void drawGlyph(CSoftSurface& surface, const Glyph& glyph, int x, int baseline,
                   const CRectangle& clip, std::uint32_t colour);

    std::unique_ptr<Face> face;
    int ascentPixels = 0;
    int descentPixels = 0;
    bool underline = false;
    int underlineOffset = 1;  ///< below the baseline
    int underlineThickness = 1;
    std::array<std::unique_ptr<Glyph>, 256> glyphs;
};
