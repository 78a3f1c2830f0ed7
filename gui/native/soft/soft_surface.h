// A drawing surface over a pixel buffer of its own, with the pixel conventions of the
// Windows graphics calls. The X11 layer shows these pixels; the headless platform and the
// tests read them back.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/native/surface.h"

class CSoftFont;

/// 0x00RRGGBB, the pixel format of every software surface and bitmap.
inline std::uint32_t softPixel(CRgbColour colour) {
    return (static_cast<std::uint32_t>(colour.red) << 16) |
           (static_cast<std::uint32_t>(colour.green) << 8) | colour.blue;
}

class CSoftSurface : public CSurface {
  public:
    /// Starts black, like a fresh memory bitmap; negative sizes count as 0.
    CSoftSurface(int width, int height);

    int width() const { return columns; }
    int height() const { return rows; }
    /// 0 outside the surface.
    std::uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, std::uint32_t value);
    /// Row `y` of width() pixels, top row first.
    const std::uint32_t* row(int y) const { return pixelData.data() + std::size_t(y) * columns; }
    std::uint32_t* row(int y) { return pixelData.data() + std::size_t(y) * columns; }
    const std::vector<std::uint32_t>& pixels() const { return pixelData; }
    void fill(std::uint32_t value);

    void setPen(CRgbColour colour, int width, CPenStyle style) override;
    bool setBrush(CRgbColour colour) override;
    void setBackColour(CRgbColour colour) override;
    void setTextColour(CRgbColour colour) override;
    void setFont(const CFontDescription& font) override;

    void moveTo(CPosition point) override;
    void lineTo(CPosition point) override;
    void fillRect(const CRectangle& rect) override;
    void fillEllipse(const CRectangle& rect) override;
    void drawText(const char* text, const CRectangle& rect, CTextAlign align, bool opaque) override;
    int textWidth(const char* text) override;

    void copyFrom(CSurface& source, const CRectangle& dest, CPosition sourceOffset) override;
    void drawBitmap(const CNativeBitmap& bitmap, const CRectangle& dest,
                    CPosition sourceOffset) override;
    void drawBitmapTransparent(const CNativeBitmap& bitmap, const CRectangle& dest,
                               CPosition sourceOffset, CRgbColour key) override;
    bool readPixels(std::uint32_t* pixels, int width, int height) override;

  private:
    /// Fills [left,right) × [top,bottom) after clipping to the surface.
    void fillClipped(CRectangle rect, std::uint32_t value);
    void plotPen(int x, int y);
    CSoftFont* currentFont();
    /// Copies a block of a sourceWidth × sourceHeight picture, leaving out `key` if keyed.
    void blit(const std::uint32_t* source, int sourceWidth, int sourceHeight,
              const CRectangle& dest, CPosition sourceOffset, bool keyed, std::uint32_t key);

    int columns;
    int rows;
    std::vector<std::uint32_t> pixelData;

    // A fresh Windows device context's objects: black pen, white brush, black text.
    std::uint32_t penColour = 0;
    int penWidth = 1;
    CPenStyle penStyle = CPenStyle::solid;
    std::uint32_t brushColour = 0xFFFFFF;
    std::uint32_t backColour = 0xFFFFFF;
    std::uint32_t textColour = 0;
    CPosition current;
    CSoftFont* chosenFont = nullptr;
};
