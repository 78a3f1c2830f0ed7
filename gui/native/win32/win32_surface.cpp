#include "gui/native/win32/win32_surface.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <initializer_list>

#include "gui/native/win32/win32_bitmap.h"

namespace {

// Set by the frame set-up when the image library offers it; read by every surface.
std::atomic<TransparentBltFunction> transparentBltFunction{nullptr};

COLORREF nativeColour(CRgbColour colour) {
    return colour.native();
}

UINT textFormat(CTextAlign align) {
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    switch (align) {
        case CTextAlign::centre:
            return format | DT_CENTER;
        case CTextAlign::right:
            return format | DT_RIGHT;
        default:
            return format | DT_LEFT;
    }
}

/// Keeps a bitmap selected into a temporary memory context for one copy.
class CBitmapSource {
  public:
    CBitmapSource(HDC reference, HBITMAP bitmap) : deviceContext(CreateCompatibleDC(reference)) {
        if (deviceContext) {
            previous = SelectObject(deviceContext, bitmap);
        }
    }
    ~CBitmapSource() {
        if (deviceContext) {
            SelectObject(deviceContext, previous);
            DeleteDC(deviceContext);
        }
    }
    CBitmapSource(const CBitmapSource&) = delete;
    CBitmapSource& operator=(const CBitmapSource&) = delete;

    HDC dc() const { return deviceContext; }

  private:
    HDC deviceContext;
    HGDIOBJ previous = nullptr;
};

HBITMAP bitmapHandle(const CNativeBitmap& bitmap) {
    auto* native = dynamic_cast<const CWin32Bitmap*>(&bitmap);
    return native ? native->handle() : nullptr;
}

/// Cuts a copy of `dest`'s size from `offset` down to the part that lies inside the
/// bitmap; false when nothing is left. The graphics system fills a colour-keyed block that
/// reaches outside its source with black, where nothing should be drawn.
bool clipToBitmap(const CNativeBitmap& bitmap, CRectangle& dest, CPosition& offset) {
    const int left = std::max(0, -offset.x);
    const int top = std::max(0, -offset.y);
    const int right = std::min(dest.width(), bitmap.width() - offset.x);
    const int bottom = std::min(dest.height(), bitmap.height() - offset.y);
    if (right <= left || bottom <= top) {
        return false;
    }
    dest = {dest.left + left, dest.top + top, dest.left + right, dest.top + bottom};
    offset = {offset.x + left, offset.y + top};
    return true;
}

}  // namespace

CWin32Surface::CWin32Surface(HDC dc)
    : deviceContext(dc),
      savedBrush(GetCurrentObject(dc, OBJ_BRUSH)),
      savedPen(GetCurrentObject(dc, OBJ_PEN)),
      savedFont(GetCurrentObject(dc, OBJ_FONT)) {
    SetBkMode(deviceContext, TRANSPARENT);
}

CWin32Surface::~CWin32Surface() {
    for (HGDIOBJ saved : {savedBrush, savedPen, savedFont}) {
        if (saved) {
            SelectObject(deviceContext, saved);
        }
    }
    for (HGDIOBJ owned : {currentBrush, currentPen, currentFont}) {
        if (owned) {
            DeleteObject(owned);
        }
    }
    if (ownsDc) {
        SelectObject(deviceContext, previousBitmap);
        DeleteObject(memoryBitmap);
        DeleteDC(deviceContext);
    }
}

std::unique_ptr<CWin32Surface> CWin32Surface::createOffscreen(HDC reference, int width,
                                                              int height) {
    HDC memory = CreateCompatibleDC(reference);
    if (!memory) {
        return nullptr;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(reference, width, height);
    if (!bitmap) {
        DeleteDC(memory);
        return nullptr;
    }
    auto surface = std::make_unique<CWin32Surface>(memory);
    surface->ownsDc = true;
    surface->memoryBitmap = bitmap;
    surface->previousBitmap = SelectObject(memory, bitmap);
    return surface;
}

void CWin32Surface::setTransparentBlt(TransparentBltFunction function) {
    transparentBltFunction = function;
}

TransparentBltFunction CWin32Surface::transparentBlt() {
    return transparentBltFunction;
}

void CWin32Surface::replaceSelected(HGDIOBJ& owned, HGDIOBJ replacement) {
    SelectObject(deviceContext, replacement);
    if (owned) {
        DeleteObject(owned);
    }
    owned = replacement;
}

void CWin32Surface::setPen(CRgbColour colour, int width, CPenStyle style) {
    LOGPEN description{};
    description.lopnStyle = style == CPenStyle::dotted ? PS_DOT : PS_SOLID;
    description.lopnWidth.x = width;
    description.lopnColor = nativeColour(colour);
    if (HPEN pen = CreatePenIndirect(&description)) {
        replaceSelected(currentPen, pen);
    }
}

bool CWin32Surface::setBrush(CRgbColour colour) {
    LOGBRUSH description{};
    description.lbStyle = BS_SOLID;
    description.lbColor = nativeColour(colour);
    HBRUSH brush = CreateBrushIndirect(&description);
    if (!brush) {
        return false;
    }
    replaceSelected(currentBrush, brush);
    return true;
}

void CWin32Surface::setBackColour(CRgbColour colour) {
    SetBkColor(deviceContext, nativeColour(colour));
}

void CWin32Surface::setTextColour(CRgbColour colour) {
    SetTextColor(deviceContext, nativeColour(colour));
}

void CWin32Surface::setFont(const CFontDescription& font) {
    LOGFONTA description{};
    description.lfHeight = -font.height;
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.italic;
    description.lfUnderline = font.underline;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_STRING_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = font.decorative ? FF_DECORATIVE : VARIABLE_PITCH | FF_SWISS;
    if (font.face) {
        std::strncpy(description.lfFaceName, font.face, LF_FACESIZE - 1);
    }
    if (HFONT handle = CreateFontIndirectA(&description)) {
        replaceSelected(currentFont, handle);
    }
}

void CWin32Surface::moveTo(CPosition point) {
    MoveToEx(deviceContext, point.x, point.y, nullptr);
}

void CWin32Surface::lineTo(CPosition point) {
    LineTo(deviceContext, point.x, point.y);
}

void CWin32Surface::fillRect(const CRectangle& rect) {
    RECT area{rect.left, rect.top, rect.right, rect.bottom};
    auto brush = static_cast<HBRUSH>(currentBrush ? currentBrush
                                                  : GetCurrentObject(deviceContext, OBJ_BRUSH));
    FillRect(deviceContext, &area, brush);
}

void CWin32Surface::fillEllipse(const CRectangle& rect) {
    HGDIOBJ pen = SelectObject(deviceContext, GetStockObject(NULL_PEN));
    Ellipse(deviceContext, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(deviceContext, pen);
}

void CWin32Surface::drawText(const char* text, const CRectangle& rect, CTextAlign align,
                             bool opaque) {
    if (!text) {
        return;
    }
    RECT area{rect.left, rect.top, rect.right, rect.bottom};
    SetBkMode(deviceContext, opaque ? OPAQUE : TRANSPARENT);
    DrawTextA(deviceContext, text, static_cast<int>(std::strlen(text)), &area, textFormat(align));
    SetBkMode(deviceContext, TRANSPARENT);
}

int CWin32Surface::textWidth(const char* text) {
    SIZE size{};
    if (!text ||
        !GetTextExtentPoint32A(deviceContext, text, static_cast<int>(std::strlen(text)), &size)) {
        return 0;
    }
    return size.cx;
}

void CWin32Surface::copyFrom(CSurface& source, const CRectangle& dest, CPosition sourceOffset) {
    auto* native = dynamic_cast<CWin32Surface*>(&source);
    if (!native) {
        return;
    }
    BitBlt(deviceContext, dest.left, dest.top, dest.width(), dest.height(), native->deviceContext,
           sourceOffset.x, sourceOffset.y, SRCCOPY);
}

void CWin32Surface::drawBitmap(const CNativeBitmap& bitmap, const CRectangle& wanted,
                               CPosition sourceOffset) {
    HBITMAP handle = bitmapHandle(bitmap);
    CRectangle dest = wanted;
    if (!handle || !clipToBitmap(bitmap, dest, sourceOffset)) {
        return;
    }
    CBitmapSource source(deviceContext, handle);
    if (source.dc()) {
        BitBlt(deviceContext, dest.left, dest.top, dest.width(), dest.height(), source.dc(),
               sourceOffset.x, sourceOffset.y, SRCCOPY);
    }
}

void CWin32Surface::drawBitmapTransparent(const CNativeBitmap& bitmap, const CRectangle& wanted,
                                          CPosition sourceOffset, CRgbColour key) {
    HBITMAP handle = bitmapHandle(bitmap);
    CRectangle dest = wanted;
    if (!handle || !clipToBitmap(bitmap, dest, sourceOffset)) {
        return;
    }
    CBitmapSource source(deviceContext, handle);
    if (!source.dc()) {
        return;
    }
    if (transparentBltFunction) {
        transparentBltFunction(deviceContext, dest.left, dest.top, dest.width(), dest.height(),
                               source.dc(), sourceOffset.x, sourceOffset.y, dest.width(),
                               dest.height(), nativeColour(key));
    } else {
        maskedCopy(source.dc(), dest, sourceOffset, nativeColour(key));
    }
}

void CWin32Surface::maskedCopy(HDC source, const CRectangle& dest, CPosition sourceOffset,
                               COLORREF key) {
    const int width = dest.width();
    const int height = dest.height();
    if (width <= 0 || height <= 0) {
        return;
    }
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    if (!mask) {
        return;
    }
    {
        CBitmapSource maskSource(deviceContext, mask);
        if (maskSource.dc()) {
            applyMask(source, maskSource.dc(), dest, sourceOffset, key);
        }
    }
    DeleteObject(mask);
}

void CWin32Surface::applyMask(HDC source, HDC mask, const CRectangle& dest, CPosition sourceOffset,
                              COLORREF key) {
    const int width = dest.width();
    const int height = dest.height();
    // Copying colour to monochrome turns the source's background colour into 1, the rest
    // into 0; copying back turns 1 into the destination's background colour, 0 into its
    // text colour.
    const COLORREF oldText = SetTextColor(deviceContext, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(deviceContext, RGB(255, 255, 255));
    SetBkColor(source, key);
    BitBlt(mask, 0, 0, width, height, source, sourceOffset.x, sourceOffset.y, SRCCOPY);
    BitBlt(deviceContext, dest.left, dest.top, width, height, source, sourceOffset.x,
           sourceOffset.y, SRCINVERT);
    BitBlt(deviceContext, dest.left, dest.top, width, height, mask, 0, 0, SRCAND);
    BitBlt(deviceContext, dest.left, dest.top, width, height, source, sourceOffset.x,
           sourceOffset.y, SRCINVERT);
    SetTextColor(deviceContext, oldText);
    SetBkColor(deviceContext, oldBack);
}

bool CWin32Surface::readPixels(std::uint32_t* pixels, int width, int height) {
    if (!pixels || !memoryBitmap || width <= 0 || height <= 0) {
        return false;
    }
    BITMAP info{};
    if (!GetObjectA(memoryBitmap, sizeof info, &info) || info.bmWidth != width ||
        info.bmHeight != height) {
        return false;
    }
    // Top-down 32-bit rows: blue, green, red, unused; read as 0x00RRGGBB words.
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    // The bitmap may not stay selected while its bits are read.
    SelectObject(deviceContext, previousBitmap);
    const int rows = GetDIBits(deviceContext, memoryBitmap, 0, static_cast<UINT>(height), pixels,
                               &format, DIB_RGB_COLORS);
    SelectObject(deviceContext, memoryBitmap);
    for (std::size_t i = 0; i < std::size_t(width) * std::size_t(height); ++i) {
        pixels[i] &= 0x00FFFFFFu;
    }
    return rows == height;
}
