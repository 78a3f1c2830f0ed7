// A picture of 0x00RRGGBB pixels, rows top-down, decoded from the embedded bitmap files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gui/native/surface.h"

class CSoftBitmap : public CNativeBitmap {
  public:
    CSoftBitmap(int width, int height, std::vector<std::uint32_t> pixels);

    int width() const override { return columns; }
    int height() const override { return rows; }
    const std::vector<std::uint32_t>& pixels() const { return pixelData; }
    std::uint32_t pixel(int x, int y) const { return pixelData[std::size_t(y) * columns + x]; }

    /// Decodes a BMP file held in memory; null when it is not a picture.
    static std::unique_ptr<CSoftBitmap> decode(const unsigned char* bytes, std::size_t size);

  private:
    int columns;
    int rows;
    std::vector<std::uint32_t> pixelData;
};

/// The library's bitmap resource `resourceId`; null when there is none.
std::unique_ptr<CSoftBitmap> loadSoftBitmap(int resourceId);
