// A drawing surface over a Windows device context: the window's, the paint request's, or
// a memory bitmap's of its own.
#pragma once

#include <windows.h>

#include <memory>

#include "gui/native/surface.h"

using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                             UINT);

class CWin32Surface : public CSurface {
  public:
    /// Draws into `dc`, which stays the caller's; selects transparent background mode.
    explicit CWin32Surface(HDC dc);
    /// Puts back the objects `dc` had selected and deletes the ones made here.
    ~CWin32Surface() override;
    CWin32Surface(const CWin32Surface&) = delete;
    CWin32Surface& operator=(const CWin32Surface&) = delete;

    /// A surface over a memory bitmap of its own, compatible with `reference`; null when
    /// the bitmap cannot be made.
    static std::unique_ptr<CWin32Surface> createOffscreen(HDC reference, int width, int height);

    /// The process-wide colour-keyed copy of the image library; null selects the copy
    /// through a monochrome mask.
    static void setTransparentBlt(TransparentBltFunction function);
    static TransparentBltFunction transparentBlt();

    HDC dc() const { return deviceContext; }

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
    /// Memory surfaces only: a window's pixels belong to the screen.
    bool readPixels(std::uint32_t* pixels, int width, int height) override;

  private:
    /// Colour-keyed copy without the image library: source XOR, AND mask, source XOR.
    void maskedCopy(HDC source, const CRectangle& dest, CPosition sourceOffset, COLORREF key);
    void applyMask(HDC source, HDC mask, const CRectangle& dest, CPosition sourceOffset,
                   COLORREF key);
    void replaceSelected(HGDIOBJ& owned, HGDIOBJ replacement);

    HDC deviceContext;
    HGDIOBJ savedBrush;
    HGDIOBJ savedPen;
    HGDIOBJ savedFont;
    HGDIOBJ currentPen = nullptr;
    HGDIOBJ currentBrush = nullptr;
    HGDIOBJ currentFont = nullptr;
    // Only offscreen surfaces own their device context and bitmap.
    bool ownsDc = false;
    HBITMAP memoryBitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
};
