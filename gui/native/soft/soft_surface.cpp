#include "gui/native/soft/soft_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "gui/native/soft/soft_bitmap.h"
#include "gui/native/soft/soft_font.h"

namespace {

/// Windows draws a dotted cosmetic pen as 3 pixels on, 3 off, counted along the line.
constexpr int kDotRun = 3;

/// Across-steps of a line after `along` steps: along × minor / major rounded to nearest,
/// halves rounded down by `roundDown`. Wide because far end points overflow 64 bits.
std::int64_t minorOffset(std::int64_t along, std::int64_t minor, std::int64_t major,
                         std::int64_t roundDown) {
    __extension__ using Wide = __int128;
    return std::int64_t((2 * Wide(along) * minor + major - roundDown) / (2 * Wide(major)));
}

CRectangle intersection(const CRectangle& a, const CRectangle& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

}  // namespace

CSoftSurface::CSoftSurface(int width, int height)
    : columns(std::max(width, 0)),
      rows(std::max(height, 0)),
      pixelData(std::size_t(columns) * std::size_t(rows), 0) {}

std::uint32_t CSoftSurface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= columns || y >= rows) {
        return 0;
    }
    return row(y)[x];
}

void CSoftSurface::setPixel(int x, int y, std::uint32_t value) {
    if (x >= 0 && y >= 0 && x < columns && y < rows) {
        row(y)[x] = value & 0xFFFFFF;
    }
}

void CSoftSurface::fill(std::uint32_t value) {
    std::fill(pixelData.begin(), pixelData.end(), value);
}

void CSoftSurface::setPen(CRgbColour colour, int width, CPenStyle style) {
    penColour = softPixel(colour);
    penWidth = std::max(width, 1);
    penStyle = style;
}

bool CSoftSurface::setBrush(CRgbColour colour) {
    brushColour = softPixel(colour);
    return true;
}

void CSoftSurface::setBackColour(CRgbColour colour) {
    backColour = softPixel(colour);
}

void CSoftSurface::setTextColour(CRgbColour colour) {
    textColour = softPixel(colour);
}

void CSoftSurface::setFont(const CFontDescription& font) {
    chosenFont = CSoftFont::get(font);
}

void CSoftSurface::moveTo(CPosition point) {
    current = point;
}

void CSoftSurface::lineTo(CPosition point) {
    const CPosition from = current;
    current = point;
    const std::int64_t dx = std::int64_t(point.x) - from.x;
    const std::int64_t dy = std::int64_t(point.y) - from.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (major == 0) {
        return;
    }
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    // A line passing exactly halfway between two pixels takes the one with the lower
    // coordinate, whichever way it runs.
    const std::int64_t roundDown = minorStep > 0 ? 1 : 0;

    // Only the steps whose major coordinate lands on the surface (widened by the pen) can
    // show, which also bounds the work for far-away end points.
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t margin = penWidth;
    const std::int64_t low = -margin, high = (xMajor ? columns : rows) + margin;
    // Wide pens are solid shapes with round ends, so they cover the end point as well.
    const bool dotted = penStyle == CPenStyle::dotted && penWidth == 1;
    std::int64_t first = 0, last = penWidth > 1 ? major + 1 : major;
    if (majorStep > 0) {
        first = std::max(first, low - majorStart);
        last = std::min(last, high - majorStart);
    } else {
        first = std::max(first, majorStart - high + 1);
        last = std::min(last, majorStart - low + 1);
    }
    for (std::int64_t i = first; i < last; ++i) {
        if (dotted && (i / kDotRun) % 2 == 1) {
            continue;
        }
        const std::int64_t offset = minorOffset(i, minor, major, roundDown);
        const std::int64_t along = majorStart + majorStep * i;
        const std::int64_t across = (xMajor ? from.y : from.x) + minorStep * offset;
        plotPen(int(xMajor ? along : across), int(xMajor ? across : along));
    }
}

void CSoftSurface::plotPen(int x, int y) {
    if (penWidth == 1) {
        setPixel(x, y, penColour);
        return;
    }
    // A round stamp of the pen's width; u and v are doubled offsets from its centre.
    const int w = penWidth;
    for (int j = 0; j < w; ++j) {
        const int v = 2 * j + 1 - w;
        for (int i = 0; i < w; ++i) {
            const int u = 2 * i + 1 - w;
            if (u * u + v * v <= (w - 1) * (w - 1) + 1) {
                setPixel(x - w / 2 + i, y - w / 2 + j, penColour);
            }
        }
    }
}

void CSoftSurface::fillRect(const CRectangle& rect) {
    fillClipped(rect, brushColour);
}

void CSoftSurface::fillClipped(CRectangle rect, std::uint32_t value) {
    rect = intersection(rect, {0, 0, columns, rows});
    for (int y = rect.top; y < rect.bottom; ++y) {
        std::fill(row(y) + rect.left, row(y) + std::max(rect.left, rect.right), value);
    }
}

void CSoftSurface::fillEllipse(const CRectangle& rect) {
    // The shape of the ellipse's outline pixels and everything inside them: a pixel is in
    // when, along its row or along its column, it lies within half a pixel of the curve
    // through the centres of the rectangle's border pixels.
    const double rx = (double(rect.right) - rect.left - 1) / 2;
    const double ry = (double(rect.bottom) - rect.top - 1) / 2;
    if (rx <= 0 || ry <= 0) {
        return;
    }
    const double cx = rect.left + rx, cy = rect.top + ry;
    const double slack = 0.5 - 1e-9;
    const CRectangle box = intersection(rect, {0, 0, columns, rows});
    for (int y = box.top; y < box.bottom; ++y) {
        const double dy = std::fabs(y - cy);
        const double halfRow = rx * std::sqrt(std::max(0.0, 1 - (dy / ry) * (dy / ry)));
        for (int x = box.left; x < box.right; ++x) {
            const double dx = std::fabs(x - cx);
            const double halfColumn = ry * std::sqrt(std::max(0.0, 1 - (dx / rx) * (dx / rx)));
            if (dx <= halfRow + slack || dy <= halfColumn + slack) {
                row(y)[x] = brushColour;
            }
        }
    }
}

void CSoftSurface::drawText(const char* text, const CRectangle& rect, CTextAlign align,
                            bool opaque) {
    CSoftFont* font = currentFont();
    if (!text || !font) {
        return;
    }
    const int width = font->textWidth(text);
    const int height = font->height();
    // The Windows text call rounds the centred positions this way.
    CPosition origin{rect.left, rect.top + rect.height() / 2 - height / 2};
    if (align == CTextAlign::centre) {
        origin.x = int((std::int64_t(rect.left) + rect.right - width) / 2);
    } else if (align == CTextAlign::right) {
        origin.x = rect.right - width;
    }
    const CRectangle clip = intersection(rect, {0, 0, columns, rows});
    if (opaque) {
        fillClipped(intersection(clip, {origin.x, origin.y, origin.x + width, origin.y + height}),
                    backColour);
    }
    font->draw(*this, text, origin, clip, textColour);
}

int CSoftSurface::textWidth(const char* text) {
    CSoftFont* font = currentFont();
    return font && text ? font->textWidth(text) : 0;
}

CSoftFont* CSoftSurface::currentFont() {
    // Until a font is chosen, text comes in the default description's font.
    if (!chosenFont) {
        chosenFont = CSoftFont::get(CFontDescription{});
    }
    return chosenFont;
}

void CSoftSurface::copyFrom(CSurface& source, const CRectangle& dest, CPosition sourceOffset) {
    auto* soft = dynamic_cast<CSoftSurface*>(&source);
    if (!soft) {
        return;
    }
    if (soft == this) {
        // Overlapping blocks of one surface copy as if through a snapshot.
        const std::vector<std::uint32_t> snapshot = pixelData;
        blit(snapshot.data(), columns, rows, dest, sourceOffset, false, 0);
        return;
    }
    blit(soft->pixelData.data(), soft->columns, soft->rows, dest, sourceOffset, false, 0);
}

void CSoftSurface::drawBitmap(const CNativeBitmap& bitmap, const CRectangle& dest,
                              CPosition sourceOffset) {
    if (auto* soft = dynamic_cast<const CSoftBitmap*>(&bitmap)) {
        blit(soft->pixels().data(), soft->width(), soft->height(), dest, sourceOffset, false, 0);
    }
}

void CSoftSurface::drawBitmapTransparent(const CNativeBitmap& bitmap, const CRectangle& dest,
                                         CPosition sourceOffset, CRgbColour key) {
    if (auto* soft = dynamic_cast<const CSoftBitmap*>(&bitmap)) {
        blit(soft->pixels().data(), soft->width(), soft->height(), dest, sourceOffset, true,
             softPixel(key));
    }
}

void CSoftSurface::blit(const std::uint32_t* source, int sourceWidth, int sourceHeight,
                        const CRectangle& dest, CPosition sourceOffset, bool keyed,
                        std::uint32_t key) {
    // Clip in destination coordinates against both the surface and the source picture.
    const std::int64_t shiftX = std::int64_t(sourceOffset.x) - dest.left;
    const std::int64_t shiftY = std::int64_t(sourceOffset.y) - dest.top;
    const std::int64_t left = std::max<std::int64_t>({dest.left, 0, -shiftX});
    const std::int64_t top = std::max<std::int64_t>({dest.top, 0, -shiftY});
    const std::int64_t right =
        std::min<std::int64_t>({dest.right, columns, std::int64_t(sourceWidth) - shiftX});
    const std::int64_t bottom =
        std::min<std::int64_t>({dest.bottom, rows, std::int64_t(sourceHeight) - shiftY});
    if (left >= right) {
        return;
    }
    for (std::int64_t y = top; y < bottom; ++y) {
        const std::uint32_t* from = source + (y + shiftY) * sourceWidth + (left + shiftX);
        std::uint32_t* to = row(int(y)) + left;
        const std::int64_t count = right - left;
        if (!keyed) {
            std::memcpy(to, from, std::size_t(count) * sizeof(std::uint32_t));
            continue;
        }
        for (std::int64_t i = 0; i < count; ++i) {
            if ((from[i] & 0xFFFFFF) != key) {
                to[i] = from[i];
            }
        }
    }
}

bool CSoftSurface::readPixels(std::uint32_t* pixels, int width, int height) {
    if (!pixels || width != columns || height != rows) {
        return false;
    }
    std::copy(pixelData.begin(), pixelData.end(), pixels);
    return true;
}
