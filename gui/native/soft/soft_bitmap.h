// A picture of 0x00RRGGBB pixels, rows top-down, decoded from the embedded bitmap files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gui/native/surface.h"

class CSoftBitmap : public CNativeBitmap {
  public:
    /// Pixels that bitmaps of the same picture share, never changed once made.
    using Pixels = std::shared_ptr<const std::vector<std::uint32_t>>;

    CSoftBitmap(int width, int height, std::vector<std::uint32_t> pixels);
    CSoftBitmap(int width, int height, Pixels pixels);

    int width() const override { return columns; }
    int height() const override { return rows; }
    const std::vector<std::uint32_t>& pixels() const { return *pixelData; }
    const Pixels& sharedPixels() const { return pixelData; }
    std::uint32_t pixel(int x, int y) const { return (*pixelData)[std::size_t(y) * columns + x]; }

    /// Decodes a BMP file held in memory; null when it is not a picture.
    static std::unique_ptr<CSoftBitmap> decode(const unsigned char* bytes, std::size_t size);

  private:
    int columns;
    int rows;
    Pixels pixelData;
};

/// The library's bitmap resource `resourceId`; null when there is none.
std::unique_ptr<CSoftBitmap> loadSoftBitmap(int resourceId);
