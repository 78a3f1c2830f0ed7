#include "tools/hostsupport/x11/x11_host_window.h"

#include <X11/Xutil.h>

#include <cstdint>

#include "gui/native/x11/x11_error_trap.h"
#include "gui/native/x11/x11_platform.h"

std::unique_ptr<CHostWindow> CHostWindow::create(int width, int height, const char* title) {
    return CX11HostWindow::open(width, height, title);
}

std::unique_ptr<CX11HostWindow> CX11HostWindow::open(int width, int height, const char* title) {
    if (width <= 0 || height <= 0)
        return nullptr;
    Display* display = CX11Platform::openDisplay();
    if (!display)
        return nullptr;
    const int screen = DefaultScreen(display);
    const CX11PixelFormat format(display, DefaultVisual(display, screen),
                                 DefaultDepth(display, screen));
    if (!format.usable()) {
        XCloseDisplay(display);
        return nullptr;
    }
    const Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 40, 30, width, height, 0,
                            BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, title ? title : "");
    // A window manager may not move or resize it: the captures count on its size.
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, window, &hints);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    // Children can only show once the window is on the screen.
    XEvent event;
    do {
        XWindowEvent(display, window, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
    XSelectInput(display, window, NoEventMask);
    return std::unique_ptr<CX11HostWindow>(
        new CX11HostWindow(display, window, format, width, height));
}

CX11HostWindow::CX11HostWindow(Display* display, Window window, const CX11PixelFormat& format,
                               int width, int height)
    : display(display), window(window), format(format), windowWidth(width), windowHeight(height) {}

CX11HostWindow::~CX11HostWindow() {
    XDestroyWindow(display, window);
    // The children's owners learn of it from the server; make sure it got there.
    XSync(display, False);
    XCloseDisplay(display);
}

void* CX11HostWindow::handle() const {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

void CX11HostWindow::processEvents() {
    // Nothing is selected; the server clears exposed parts with the background itself.
    XEvent event;
    while (XPending(display))
        XNextEvent(display, &event);
}

bool CX11HostWindow::capture(std::vector<std::uint32_t>& pixels, int& width, int& height) {
    CX11ErrorTrap trap(display);
    // Reading the window reads what its children show inside it too.
    if (!format.get(window, windowWidth, windowHeight, pixels) || trap.failed())
        return false;
    width = windowWidth;
    height = windowHeight;
    return true;
}
