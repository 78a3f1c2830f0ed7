#include "gui/native/x11/x11_window.h"

#include <X11/cursorfont.h>

#include <algorithm>
#include <cstring>

#include "gui/native/x11/x11_error_trap.h"
#include "gui/native/x11/x11_platform.h"

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | StructureNotifyMask;

CRectangle unite(const CRectangle& a, const CRectangle& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

CRectangle exposedArea(const XExposeEvent& event) {
    return {event.x, event.y, event.x + event.width, event.y + event.height};
}

}  // namespace

std::unique_ptr<CX11Window> CX11Window::create(Display* display, Window parent, int width,
                                               int height, CNativeWindowClient& client) {
    if (width <= 0 || height <= 0)
        return nullptr;
    CX11ErrorTrap trap(display);
    // The host's window id is only a number to us until the server has confirmed it.
    XWindowAttributes parentAttributes{};
    if (!XGetWindowAttributes(display, parent, &parentAttributes) || trap.failed()) {
        return nullptr;
    }
    const CX11PixelFormat format(display, parentAttributes.visual, parentAttributes.depth);
    if (!format.usable())
        return nullptr;

    XSetWindowAttributes attributes{};
    // No background: the server would clear exposed parts before we repaint them.
    attributes.background_pixmap = None;
    attributes.event_mask = kEventMask;
    const Window window =
        XCreateWindow(display, parent, 0, 0, width, height, 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    if (trap.failed())
        return nullptr;
    GC gc = XCreateGC(display, window, 0, nullptr);
    XMapWindow(display, window);
    if (trap.failed()) {
        XFreeGC(display, gc);
        XDestroyWindow(display, window);
        return nullptr;
    }
    return std::unique_ptr<CX11Window>(
        new CX11Window(display, window, parentAttributes.root, gc, format, width, height, client));
}

CX11Window::CX11Window(Display* display, Window window, Window root, GC gc,
                       const CX11PixelFormat& format, int width, int height,
                       CNativeWindowClient& client)
    : display(display),
      window(window),
      root(root),
      gc(gc),
      format(format),
      client(client),
      surface(width, height),
      shown(surface.pixels()) {}

CX11Window::~CX11Window() {
    if (deletedFlag)
        *deletedFlag = true;
    {
        CX11ErrorTrap trap(display);
        if (exists)
            XDestroyWindow(display, window);
        XFreeGC(display, gc);
    }
    // The window's remaining events go with its connection.
    XCloseDisplay(display);
}

void CX11Window::releaseSurface(CSurface*) {
    if (exists)
        showChanges();
}

std::unique_ptr<CSurface> CX11Window::createOffscreen(int width, int height) {
    return std::make_unique<CSoftSurface>(width, height);
}

CPosition CX11Window::screenOrigin() {
    if (!exists)
        return {};
    CX11ErrorTrap trap(display);
    int x = 0;
    int y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) || trap.failed()) {
        return {};
    }
    return {x, y};
}

void CX11Window::processEvents() {
    if (!exists)
        return;
    if (handlingEvents) {
        // Called back from inside a press (a drag serving the host): paint only, so that
        // a second press cannot start while the first one is still being followed.
        dispatchPendingPaint();
        return;
    }
    handlingEvents = true;
    // Brings in what the server has for us, including news of the host's own requests.
    XSync(display, False);
    CRectangle damage;
    bool damaged = false;
    XEvent event;
    while (exists && XCheckIfEvent(display, &event, &CX11Window::isForWindow,
                                   reinterpret_cast<XPointer>(this))) {
        switch (event.type) {
            case Expose:
                damage = damaged ? unite(damage, exposedArea(event.xexpose))
                                 : exposedArea(event.xexpose);
                damaged = true;
                break;
            case ButtonPress:
                // What the press handler sees must already be on the screen.
                if (damaged)
                    repair(damage);
                damaged = false;
                if (!handleButton(event.xbutton))
                    return;  // nothing of this window is left to touch
                break;
            case DestroyNotify:
                exists = false;
                client.windowDestroyed();
                break;
            default:
                break;
        }
    }
    if (damaged && exists)
        repair(damage);
    handlingEvents = false;
}

void CX11Window::flush() {
    if (exists)
        showChanges();
}

bool CX11Window::dispatchPendingPaint() {
    if (!exists)
        return false;
    CRectangle damage;
    bool damaged = false;
    XEvent event;
    while (XCheckIfEvent(display, &event, &CX11Window::isExposeForWindow,
                         reinterpret_cast<XPointer>(this))) {
        damage = damaged ? unite(damage, exposedArea(event.xexpose)) : exposedArea(event.xexpose);
        damaged = true;
    }
    if (damaged)
        repair(damage);
    return damaged;
}

void CX11Window::setCursor(int type) {
    static const unsigned int shapes[] = {XC_watch, XC_sb_h_double_arrow,  XC_sb_v_double_arrow,
                                          XC_fleur, XC_bottom_left_corner, XC_bottom_right_corner};
    if (!exists || type < 0 || type > 6)
        return;
    CX11ErrorTrap trap(display);
    if (type == 0) {
        // Back to the cursor of the host's window.
        XUndefineCursor(display, window);
        return;
    }
    const Cursor cursor = XCreateFontCursor(display, shapes[type - 1]);
    XDefineCursor(display, window, cursor);
    XFreeCursor(display, cursor);
}

bool CX11Window::setDropActive(bool) {
    return true;
}

Bool CX11Window::isForWindow(Display*, XEvent* event, XPointer window) {
    return event->xany.window == reinterpret_cast<CX11Window*>(window)->window;
}

Bool CX11Window::isExposeForWindow(Display* display, XEvent* event, XPointer window) {
    return event->type == Expose && isForWindow(display, event, window);
}

void CX11Window::repair(const CRectangle& damaged) {
    const CRectangle area{std::max(damaged.left, 0), std::max(damaged.top, 0),
                          std::min(damaged.right, surface.width()),
                          std::min(damaged.bottom, surface.height())};
    if (area.width() <= 0 || area.height() <= 0)
        return;
    client.paintWindow(surface, area);
    if (!exists)
        return;
    // The server lost these pixels, whether or not the paint changed them.
    show(area);
    showChanges();
}

bool CX11Window::handleButton(const XButtonEvent& event) {
    // Buttons 4 and 5 are the wheel, which nothing here uses.
    if (event.button < Button1 || event.button > Button3)
        return true;
    // The event's mask is the state before the press: the pressed button is added.
    static const unsigned int pressedMask[] = {Button1Mask, Button2Mask, Button3Mask};
    const int state = CX11Platform::stateFromMask(event.state | pressedMask[event.button - 1]);
    // The client may close the editor during the press and delete this window with it.
    bool deleted = false;
    deletedFlag = &deleted;
    client.mouseDownInWindow(surface, {event.x, event.y}, state);
    if (deleted)
        return false;
    deletedFlag = nullptr;
    if (exists)
        showChanges();
    return true;
}

CRectangle CX11Window::changedArea() const {
    const int width = surface.width();
    CRectangle area{width, -1, 0, -1};
    for (int y = 0; y < surface.height(); ++y) {
        const std::uint32_t* now = surface.row(y);
        const std::uint32_t* before = shown.data() + std::size_t(y) * width;
        if (std::memcmp(now, before, std::size_t(width) * sizeof *now) == 0)
            continue;
        if (area.top < 0)
            area.top = y;
        area.bottom = y + 1;
        int left = 0;
        while (now[left] == before[left])
            ++left;
        int right = width;
        while (now[right - 1] == before[right - 1])
            --right;
        area.left = std::min(area.left, left);
        area.right = std::max(area.right, right);
    }
    return area.top < 0 ? CRectangle{} : area;
}

void CX11Window::show(const CRectangle& area) {
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const int width = surface.width();
    {
        // A window that vanished with its parent only reports itself gone later.
        CX11ErrorTrap trap(display);
        format.put(window, gc, surface.pixels().data(), width, area);
    }
    for (int y = area.top; y < area.bottom; ++y) {
        std::copy(surface.row(y) + area.left, surface.row(y) + area.right,
                  shown.begin() + std::ptrdiff_t(y) * width + area.left);
    }
}

void CX11Window::showChanges() {
    show(changedArea());
}
