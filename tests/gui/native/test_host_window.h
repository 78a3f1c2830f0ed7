// The host window of the window tests: opened (on X11, on the server at DISPLAY) and read
// back pixel by pixel.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "tools/hostsupport/host_window.h"

/// A host window of the given size; null without an X server, with the reason in `why`.
inline std::unique_ptr<CHostWindow> openTestHost(int width, int height, const char* title,
                                                 const char*& why) {
    if (!std::getenv("DISPLAY")) {
        why = "no DISPLAY";
        return nullptr;
    }
    std::unique_ptr<CHostWindow> host = CHostWindow::create(width, height, title);
    why = host ? "" : "no X server at DISPLAY";
    return host;
}

/// What the host window shows at (x, y), its children included; 0xDEAD when unreadable.
inline std::uint32_t shownAt(CHostWindow& host, int x, int y) {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    if (!host.capture(pixels, width, height) || x >= width || y >= height) {
        return 0xDEAD;
    }
    return pixels[std::size_t(y) * width + x];
}
