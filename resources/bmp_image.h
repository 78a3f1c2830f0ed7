#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// A true-colour picture that is written out as a paletted, bottom-up Windows bitmap.
/// Drawing happens in full colour so that edges and text blend into what lies beneath;
/// the palette is chosen only when the file is written.
class BmpImage {
  public:
    struct Colour {
        uint8_t red, green, blue;
        bool operator==(const Colour& other) const {
            return red == other.red && green == other.green && blue == other.blue;
        }
        bool operator!=(const Colour& other) const { return !(*this == other); }
        /// The colour a fraction (0 to 1) of the way from this one to other.
        Colour towards(Colour other, float fraction) const;
    };

    BmpImage(int width, int height, Colour fill);

    int width() const { return columns; }
    int height() const { return rows; }
    const std::vector<Colour>& pixels() const { return pixelColours; }

    /// Paints pixels inside the picture; coordinates outside it are clipped.
    void setPixel(int x, int y, Colour colour);
    /// Lays colour over a pixel with the given coverage (0 to 1); clipped like setPixel.
    void blendPixel(int x, int y, Colour colour, float coverage);
    Colour pixel(int x, int y) const;
    /// Fills the half-open rectangle [left, right) x [top, bottom).
    void fillRect(int left, int top, int right, int bottom, Colour colour);
    /// Fills a rectangle shading from topColour in its first row to bottomColour in its last.
    void fillGradient(int left, int top, int right, int bottom, Colour topColour,
                      Colour bottomColour);
    /// Draws a one-pixel border just inside the half-open rectangle.
    void frameRect(int left, int top, int right, int bottom, Colour colour);
    /// Draws a sunken (or, with raised set, a raised) two-tone border.
    void bevelRect(int left, int top, int right, int bottom, Colour light, Colour dark,
                   bool raised);
    /// Fills a disc with a smooth edge; the centre may lie between pixels.
    void fillCircle(float centreX, float centreY, float radius, Colour colour);

    /// Writes the picture with 4 or 8 bits per pixel, reducing its colours to the
    /// depth's palette where it uses more. Fails (returns false with a message) on an
    /// unsupported depth or when the file cannot be written.
    bool writeBmp(const std::string& path, int bitsPerPixel, std::string& error) const;

  private:
    int columns;
    int rows;
    std::vector<Colour> pixelColours;
};
