// What the toolkit draws through: one surface per window or memory bitmap, with the
// pixel conventions of the Windows graphics calls (right and bottom exclusive, lines
// without their end pixel, colour-keyed copies). Each platform provides its own.
#pragma once

#include <cstdint>

#include "gui/colour.h"
#include "gui/geometry.h"

/// A font as the drawing context asks for it.
struct CFontDescription {
    const char* face = "Arial";
    int height = 12;  ///< character height in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool decorative = false;  ///< decorative family instead of variable-pitch Swiss
};

enum class CPenStyle { solid, dotted };
enum class CTextAlign { left, centre, right };

/// A picture loaded from the library's bitmap resources.
class CNativeBitmap {
  public:
    virtual ~CNativeBitmap() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

class CSurface {
  public:
    virtual ~CSurface() = default;

    virtual void setPen(CRgbColour colour, int width, CPenStyle style) = 0;
    /// Answers false (keeping the previous brush) when no brush could be made.
    virtual bool setBrush(CRgbColour colour) = 0;
    /// Colour of the text cell behind opaque text.
    virtual void setBackColour(CRgbColour colour) = 0;
    virtual void setTextColour(CRgbColour colour) = 0;
    virtual void setFont(const CFontDescription& font) = 0;

    virtual void moveTo(CPosition point) = 0;
    /// Draws from the current point to `point`, leaving out the end pixel.
    virtual void lineTo(CPosition point) = 0;
    /// Fills with the brush; right and bottom exclusive.
    virtual void fillRect(const CRectangle& rect) = 0;
    /// Fills the ellipse inside `rect` with the brush, no outline.
    virtual void fillEllipse(const CRectangle& rect) = 0;
    /// One line of text, vertically centred in `rect`, clipped to it.
    virtual void drawText(const char* text, const CRectangle& rect, CTextAlign align,
                          bool opaque) = 0;
    virtual int textWidth(const char* text) = 0;

    /// Copies `dest`'s size from `source` at `sourceOffset` to `dest`'s top-left.
    virtual void copyFrom(CSurface& source, const CRectangle& dest, CPosition sourceOffset) = 0;
    virtual void drawBitmap(const CNativeBitmap& bitmap, const CRectangle& dest,
                            CPosition sourceOffset) = 0;
    /// As drawBitmap, leaving out every source pixel of colour `key`.
    virtual void drawBitmapTransparent(const CNativeBitmap& bitmap, const CRectangle& dest,
                                       CPosition sourceOffset, CRgbColour key) = 0;

    /// Copies the whole surface into `pixels` as 0x00RRGGBB rows, top row first, when it
    /// is `width` x `height`; false where its pixels cannot be read back.
    virtual bool readPixels(std::uint32_t* pixels, int width, int height) = 0;
};
