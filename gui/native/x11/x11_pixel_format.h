// Moves 0x00RRGGBB pixel rows to and from a TrueColor drawable, whatever its channel
// layout; the common 24/32-bit layout goes through without conversion.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "gui/geometry.h"

class CX11PixelFormat {
  public:
    CX11PixelFormat(Display* display, Visual* visual, int depth);

    /// Only TrueColor visuals have channel masks to convert through.
    bool usable() const { return supported; }

    /// Sends `area` of the rows at `pixels` (`stride` pixels apart) to the same place in
    /// `drawable`.
    void put(Drawable drawable, GC gc, const std::uint32_t* pixels, int stride,
             const CRectangle& area) const;
    /// Reads width × height pixels from the drawable's top-left corner.
    bool get(Drawable drawable, int width, int height, std::vector<std::uint32_t>& pixels) const;

  private:
    struct Channel {
        int shift = 0;  ///< lowest bit of the mask
        int bits = 0;   ///< number of bits in the mask
    };
    static Channel channelOf(unsigned long mask);
    unsigned long toNative(std::uint32_t rgb) const;
    std::uint32_t fromNative(unsigned long pixel) const;
    void putConverted(Drawable drawable, GC gc, const std::uint32_t* pixels, int stride,
                      const CRectangle& area) const;

    Display* display;
    Visual* visual;
    int depth;
    bool supported;
    bool direct = false;  ///< 32-bit pixels laid out as 0x00RRGGBB
    Channel red, green, blue;
    unsigned long opaque = 0;  ///< alpha bits of a depth-32 visual, all set
};
