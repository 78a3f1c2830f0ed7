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
    : display(display),
      visual(visual),
      depth(depth),
      supported(visual && visual->c_class == TrueColor) {
    if (!supported)
        return;
    red = channelOf(visual->red_mask);
    green = channelOf(visual->green_mask);
    blue = channelOf(visual->blue_mask);
    // Bits of the pixel that no colour channel uses are alpha: a compositor would show
    // our pixels see-through unless they are set.
    const unsigned long depthMask = depth >= 32 ? 0xFFFFFFFFul : (1ul << depth) - 1;
    opaque = depthMask & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
    direct = visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
             visual->blue_mask == 0xFF && opaque == 0 && bitsPerPixelOf(display, depth) == 32;
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
    return opaque | (widen((rgb >> 16) & 0xFF, red.bits) << red.shift) |
           (widen((rgb >> 8) & 0xFF, green.bits) << green.shift) |
           (widen(rgb & 0xFF, blue.bits) << blue.shift);
}

std::uint32_t CX11PixelFormat::fromNative(unsigned long pixel) const {
    auto field = [pixel](const Channel& c) {
        return narrow((pixel >> c.shift) & ((1ul << c.bits) - 1), c.bits);
    };
    return (field(red) << 16) | (field(green) << 8) | field(blue);
}

void CX11PixelFormat::put(Drawable drawable, GC gc, const std::uint32_t* pixels, int stride,
                          const CRectangle& area) const {
    if (!supported || area.width() <= 0 || area.height() <= 0)
        return;
    if (!direct) {
        putConverted(drawable, gc, pixels, stride, area);
        return;
    }
    const std::uint32_t* first = pixels + std::size_t(area.top) * stride + area.left;
    XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<std::uint32_t*>(first)),
                                 area.width(), area.height(), 32, stride * 4);
    if (!image)
        return;
    // Our rows are in the host's byte order; Xlib swaps if the server's differs.
    image->byte_order = hostIsLittleEndian() ? LSBFirst : MSBFirst;
    XPutImage(display, drawable, gc, image, 0, 0, area.left, area.top, area.width(), area.height());
    image->data = nullptr;  // the rows are not the image's to free
    XDestroyImage(image);
}

void CX11PixelFormat::putConverted(Drawable drawable, GC gc, const std::uint32_t* pixels,
                                   int stride, const CRectangle& area) const {
    XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, area.width(),
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
    XPutImage(display, drawable, gc, image, 0, 0, area.left, area.top, area.width(), area.height());
    XDestroyImage(image);
}

bool CX11PixelFormat::get(Drawable drawable, int width, int height,
                          std::vector<std::uint32_t>& pixels) const {
    if (!supported || width <= 0 || height <= 0)
        return false;
    XImage* image = XGetImage(display, drawable, 0, 0, width, height, AllPlanes, ZPixmap);
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
