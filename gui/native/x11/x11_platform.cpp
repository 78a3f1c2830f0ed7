#include "gui/native/x11/x11_platform.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>

#include "gui/native/soft/soft_bitmap.h"
#include "gui/native/soft/soft_surface.h"
#include "gui/native/x11/x11_window.h"

CNativePlatform& CNativePlatform::system() {
    static CX11Platform platform;
    return platform;
}

namespace {

using DisplayHandle = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

/// The calling thread's connection for pointer queries: opened on first use (a failed
/// attempt is retried, the host may gain a display in between), closed with the thread.
Display* threadDisplay() {
    thread_local DisplayHandle display{nullptr, &XCloseDisplay};
    if (!display)
        display.reset(CX11Platform::openDisplay());
    return display.get();
}

}  // namespace

Display* CX11Platform::openDisplay() {
    // Xlib of older systems does not prepare itself for threads unless told, before any
    // two threads use it; the host may use it from one thread only and never tell it.
    static std::once_flag threadsInitialised;
    std::call_once(threadsInitialised, [] { XInitThreads(); });
    return XOpenDisplay(nullptr);
}

std::unique_ptr<CNativeWindow> CX11Platform::createWindow(void* parent, int width, int height,
                                                          CNativeWindowClient& client) {
    const auto parentId = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    if (parentId == None)
        return nullptr;
    Display* display = openDisplay();
    if (!display)
        return nullptr;
    std::unique_ptr<CX11Window> window =
        CX11Window::create(display, parentId, width, height, client);
    if (!window)
        XCloseDisplay(display);
    return window;
}

std::unique_ptr<CSurface> CX11Platform::createOffscreen(int width, int height) {
    return std::make_unique<CSoftSurface>(width, height);
}

std::unique_ptr<CNativeBitmap> CX11Platform::loadBitmap(int resourceId) {
    return loadSoftBitmap(resourceId);
}

bool CX11Platform::queryPointer(int& rootX, int& rootY, unsigned int& mask) {
    Display* display = threadDisplay();
    if (!display)
        return false;
    Window root = None;
    Window child = None;
    int windowX = 0;
    int windowY = 0;
    return XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY,
                         &windowX, &windowY, &mask);
}

int CX11Platform::mouseState() {
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    if (!queryPointer(x, y, mask))
        return 0;
    return stateFromMask(mask);
}

int CX11Platform::stateFromMask(unsigned int mask) {
    // The server's button mapping already swaps the buttons for left-handed users.
    int state = 0;
    if (mask & Button1Mask)
        state |= kMouseLeft;
    if (mask & Button2Mask)
        state |= kMouseMiddle;
    if (mask & Button3Mask)
        state |= kMouseRight;
    if (mask & ShiftMask)
        state |= kKeyShift;
    if (mask & ControlMask)
        state |= kKeyControl;
    if (mask & Mod1Mask)
        state |= kKeyAlt;
    return state;
}

CPosition CX11Platform::cursorPosition() {
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    if (!queryPointer(x, y, mask))
        return {};
    return {x, y};
}

std::uint32_t CX11Platform::ticks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(milliseconds);
}

void CX11Platform::sleep(std::uint32_t milliseconds) {
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) == -1 && errno == EINTR) {
    }
}
