#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "resources/bmp_image.h"

/// The palette of a paletted bitmap, chosen from the colours a picture uses.
/// A picture with no more colours than the palette holds keeps every colour exactly.
/// Otherwise a median cut groups the colours into as many boxes as the palette holds,
/// always splitting the box whose pixels stray furthest from its centre, and each box is
/// represented by its most frequent colour: large areas keep their exact colour, and
/// no colour appears that the picture does not use.
class ColourPalette {
  public:
    using Colour = BmpImage::Colour;

    ColourPalette(const std::vector<Colour>& pixels, int capacity);

    /// The chosen colours, padded with black to the capacity.
    const std::vector<Colour>& colours() const { return palette; }
    /// The index of the palette colour nearest to colour.
    int indexOf(Colour colour) const;

  private:
    struct Entry {
        Colour colour;
        uint32_t count;
    };
    struct Box {
        size_t begin, end;
        double spread;
        int channel;
    };

    void cut(std::vector<Entry>& entries, int capacity);
    static Box measure(const std::vector<Entry>& entries, size_t begin, size_t end);
    int nearest(Colour colour) const;

    std::vector<Colour> palette;
    std::unordered_map<uint32_t, int> indices;
};
