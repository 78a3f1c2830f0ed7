#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// An RGB picture that is written out as a paletted, bottom-up Windows bitmap.
class BmpImage {
  public:
    struct Colour {
        uint8_t red, green, blue;
        bool operator==(const Colour& other) const {
            return red == other.red && green == other.green && blue == other.blue;
        }
    };

    BmpImage(int width, int height, Colour fill);

    int width() const { return width_; }
    int height() const { return height_; }

    /// Paints pixels inside the picture; coordinates outside it are clipped.
    void setPixel(int x, int y, Colour colour);
    Colour pixel(int x, int y) const;
    /// Fills the half-open rectangle [left, right) x [top, bottom).
    void fillRect(int left, int top, int right, int bottom, Colour colour);
    /// Draws a one-pixel border just inside the half-open rectangle.
    void frameRect(int left, int top, int right, int bottom, Colour colour);
    /// Draws a sunken (or, with raised set, a raised) two-tone border.
    void bevelRect(int left, int top, int right, int bottom, Colour light, Colour dark,
                   bool raised);
    void fillCircle(int centreX, int centreY, int radius, Colour colour);

    /// Writes the picture with 4 or 8 bits per pixel. Fails (returns false with a
    /// message) when the picture uses more colours than the depth can hold.
    bool writeBmp(const std::string& path, int bitsPerPixel, std::string& error) const;

  private:
    std::vector<Colour> buildPalette(int capacity, std::string& error) const;

    int width_;
    int height_;
    std::vector<Colour> pixels_;
};
