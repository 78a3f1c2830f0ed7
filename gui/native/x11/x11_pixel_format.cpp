#include "gui/native/x11/x11_pixel_format.h"

#include <X11/Xutil.h>

#include <cstdlib>

namespace {

constexpr bool hostIsLittleEndian() {
    return static_cast<std::uint8_t>(std::uint16_t{1}) == 1;
}

int bitsPerPixelOf(Display* display, int depth) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bits = 0;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    }
    if (formats)
        XFree(formats);
    return bits;
}

/// Scales an 8-bit channel value to `bits` bits and back.
unsigned long widen(std::uint32_t value, int bits) {
    return bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8) : value >> (8 - bits);
}
std::uint32_t narrow(unsigned long value, int bits) {
    if (bits >= 8)
        return static_cast<std::uint32_t>(value >> (bits - 8));
    if (bits == 0)
        return 0;
    // Spread the few bits over the full 8-bit range (e.g. 5 bits 31 -> 255).
    const unsigned long maximum = (1ul << bits) - 1;
    return static_cast<std::uint32_t>((value * 255 + maximum / 2) / maximum);
}

}  // namespace

CX11PixelFormat::CX11PixelFormat(Display* display, Visual* visual, int depth)
    : display_(display),
      visual_(visual),
      depth_(depth),
      usable_(visual && visual->c_class == TrueColor) {
    if (!usable_)
        return;
    red_ = channelOf(visual->red_mask);
    green_ = channelOf(visual->green_mask);
    blue_ = channelOf(visual->blue_mask);
    // Bits of the pixel that no colour channel uses are alpha: a compositor would show
    // our pixels see-through unless they are set.
    const unsigned long depthMask = depth >= 32 ? 0xFFFFFFFFul : (1ul << depth) - 1;
    opaque_ = depthMask & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
    direct_ = visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
              visual->blue_mask == 0xFF && opaque_ == 0 && bitsPerPixelOf(display, depth) == 32;
}

CX11PixelFormat::Channel CX11PixelFormat::channelOf(unsigned long mask) {
    Channel channel;
    if (mask == 0)
        return channel;
    while (!(mask & 1)) {
        mask >>= 1;
        ++channel.shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++channel.bits;
    }
    return channel;
}

unsigned long CX11PixelFormat::toNative(std::uint32_t rgb) const {
    return opaque_ | (widen((rgb >> 16) & 0xFF, red_.bits) << red_.shift) |
           (widen((rgb >> 8) & 0xFF, green_.bits) << green_.shift) |
           (widen(rgb & 0xFF, blue_.bits) << blue_.shift);
}

std::uint32_t CX11PixelFormat::fromNative(unsigned long pixel) const {
    auto field = [pixel](const Channel& c) {
        return narrow((pixel >> c.shift) & ((1ul << c.bits) - 1), c.bits);
    };
    return (field(red_) << 16) | (field(green_) << 8) | field(blue_);
}

void CX11PixelFormat::put(Drawable drawable, GC gc, const std::uint32_t* pixels, int stride,
                          const CRectangle& area) const {
    if (!usable_ || area.width() <= 0 || area.height() <= 0)
        return;
    if (!direct_) {
        putConverted(drawable, gc, pixels, stride, area);
        return;
    }
    const std::uint32_t* first = pixels + std::size_t(area.top) * stride + area.left;
    XImage* image = XCreateImage(display_, visual_, depth_, ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<std::uint32_t*>(first)),
                                 area.width(), area.height(), 32, stride * 4);
    if (!image)
        return;
    // Our rows are in the host's byte order; Xlib swaps if the server's differs.
    image->byte_order = hostIsLittleEndian() ? LSBFirst : MSBFirst;
    XPutImage(display_, drawable, gc, image, 0, 0, area.left, area.top, area.width(),
              area.height());
    image->data = nullptr;  // the rows are not the image's to free
    XDestroyImage(image);
}

void CX11PixelFormat::putConverted(Drawable drawable, GC gc, const std::uint32_t* pixels,
                                   int stride, const CRectangle& area) const {
    XImage* image = XCreateImage(display_, visual_, depth_, ZPixmap, 0, nullptr, area.width(),
                                 area.height(), 32, 0);
    if (!image)
        return;
    image->data =
        static_cast<char*>(std::malloc(std::size_t(image->bytes_per_line) * area.height()));
    if (!image->data) {
        XDestroyImage(image);
        return;
    }
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t* row = pixels + std::size_t(area.top + y) * stride + area.left;
        for (int x = 0; x < area.width(); ++x)
            XPutPixel(image, x, y, toNative(row[x]));
    }
    XPutImage(display_, drawable, gc, image, 0, 0, area.left, area.top, area.width(),
              area.height());
    XDestroyImage(image);
}

bool CX11PixelFormat::get(Drawable drawable, int width, int height,
                          std::vector<std::uint32_t>& pixels) const {
    if (!usable_ || width <= 0 || height <= 0)
        return false;
    XImage* image = XGetImage(display_, drawable, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    pixels.resize(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[std::size_t(y) * width + x] = fromNative(XGetPixel(image, x, y));
        }
    }
    XDestroyImage(image);
    return true;
}
