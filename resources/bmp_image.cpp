#include "resources/bmp_image.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "resources/colour_palette.h"

namespace {

void putU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi

}  // namespace

BmpImage::Colour BmpImage::Colour::towards(Colour other, float fraction) const {
    const float t = std::clamp(fraction, 0.0f, 1.0f);
    auto channel = [t](uint8_t from, uint8_t to) {
        return static_cast<uint8_t>(std::lround(from + (to - from) * t));
    };
    return {channel(red, other.red), channel(green, other.green), channel(blue, other.blue)};
}

BmpImage::BmpImage(int width, int height, Colour fill)
    : columns(width), rows(height), pixelColours(static_cast<size_t>(width) * height, fill) {}

void BmpImage::setPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= columns || y >= rows) {
        return;
    }
    pixelColours[static_cast<size_t>(y) * columns + x] = colour;
}

void BmpImage::blendPixel(int x, int y, Colour colour, float coverage) {
    if (x < 0 || y < 0 || x >= columns || y >= rows || coverage <= 0.0f) {
        return;
    }
    Colour& under = pixelColours[static_cast<size_t>(y) * columns + x];
    under = under.towards(colour, coverage);
}

BmpImage::Colour BmpImage::pixel(int x, int y) const {
    return pixelColours[static_cast<size_t>(y) * columns + x];
}

void BmpImage::fillRect(int left, int top, int right, int bottom, Colour colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            setPixel(x, y, colour);
        }
    }
}

void BmpImage::fillGradient(int left, int top, int right, int bottom, Colour topColour,
                            Colour bottomColour) {
    const int lineCount = bottom - top;
    for (int y = top; y < bottom; ++y) {
        const float fraction = lineCount > 1 ? float(y - top) / float(lineCount - 1) : 0.0f;
        fillRect(left, y, right, y + 1, topColour.towards(bottomColour, fraction));
    }
}

void BmpImage::frameRect(int left, int top, int right, int bottom, Colour colour) {
    fillRect(left, top, right, top + 1, colour);
    fillRect(left, bottom - 1, right, bottom, colour);
    fillRect(left, top, left + 1, bottom, colour);
    fillRect(right - 1, top, right, bottom, colour);
}

void BmpImage::bevelRect(int left, int top, int right, int bottom, Colour light, Colour dark,
                         bool raised) {
    const Colour topLeft = raised ? light : dark;
    const Colour bottomRight = raised ? dark : light;
    fillRect(left, top, right, top + 1, topLeft);
    fillRect(left, top, left + 1, bottom, topLeft);
    fillRect(left + 1, bottom - 1, right, bottom, bottomRight);
    fillRect(right - 1, top + 1, right, bottom, bottomRight);
}

void BmpImage::fillCircle(float centreX, float centreY, float radius, Colour colour) {
    // Each pixel is covered by the share of a 4 x 4 grid of sample points inside the disc.
    constexpr int kGrid = 4;
    const int left = int(std::floor(centreX - radius));
    const int top = int(std::floor(centreY - radius));
    const int right = int(std::ceil(centreX + radius));
    const int bottom = int(std::ceil(centreY + radius));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kGrid; ++sy) {
                for (int sx = 0; sx < kGrid; ++sx) {
                    const float dx = x + (sx + 0.5f) / kGrid - centreX;
                    const float dy = y + (sy + 0.5f) / kGrid - centreY;
                    inside += dx * dx + dy * dy <= radius * radius;
                }
            }
            blendPixel(x, y, colour, float(inside) / (kGrid * kGrid));
        }
    }
}

bool BmpImage::writeBmp(const std::string& path, int bitsPerPixel, std::string& error) const {
    if (bitsPerPixel != 4 && bitsPerPixel != 8) {
        error = "only 4 and 8 bits per pixel are written";
        return false;
    }
    const int capacity = 1 << bitsPerPixel;
    const ColourPalette palette(pixelColours, capacity);
    const uint32_t rowBytes = ((static_cast<uint32_t>(columns) * bitsPerPixel + 31) / 32) * 4;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(rows);
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * capacity;

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    putU32(out, pixelOffset + imageBytes);
    putU32(out, 0);
    putU32(out, pixelOffset);

    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<uint32_t>(columns));
    putU32(out, static_cast<uint32_t>(rows));  // positive: bottom-up rows
    putU16(out, 1);
    putU16(out, static_cast<uint32_t>(bitsPerPixel));
    putU32(out, 0);  // BI_RGB
    putU32(out, imageBytes);
    putU32(out, kPixelsPerMetre);
    putU32(out, kPixelsPerMetre);
    putU32(out, 0);  // the whole palette is present
    putU32(out, 0);

    for (const Colour& colour : palette.colours()) {
        out.push_back(colour.blue);
        out.push_back(colour.green);
        out.push_back(colour.red);
        out.push_back(0);
    }

    for (int y = rows - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < columns; ++x) {
            const auto index = static_cast<uint8_t>(palette.indexOf(pixel(x, y)));
            if (bitsPerPixel == 8) {
                row[x] = index;
            } else {
                row[x / 2] |= (x % 2 == 0) ? static_cast<uint8_t>(index << 4) : index;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }

    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
