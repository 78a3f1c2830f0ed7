// The frame's window on X11: a child of the host's window whose content lives in a
// software surface and is sent to the server as images.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gui/native/native_window.h"
#include "gui/native/soft/soft_surface.h"
#include "gui/native/x11/x11_pixel_format.h"

class CX11Window : public CNativeWindow {
  public:
    /// Null when `parent` is not a window of a TrueColor display or the size is empty.
    /// The window owns `display` once made, and closes it with itself; the caller keeps
    /// it when no window is made.
    static std::unique_ptr<CX11Window> create(Display* display, Window parent, int width,
                                              int height, CNativeWindowClient& client);
    ~CX11Window() override;
    CX11Window(const CX11Window&) = delete;
    CX11Window& operator=(const CX11Window&) = delete;

    /// The window's id on the server.
    Window id() const { return window; }

    CSurface* acquireSurface() override { return &surface; }
    /// Sends what changed since the last time to the server.
    void releaseSurface(CSurface* surface) override;
    std::unique_ptr<CSurface> createOffscreen(int width, int height) override;

    CPosition screenOrigin() override;
    void processEvents() override;
    void flush() override;
    bool dispatchPendingPaint() override;
    void setCursor(int type) override;
    /// X11 has no file drop of ours yet: nothing is registered, and that is no failure.
    bool setDropActive(bool active) override;

  private:
    CX11Window(Display* display, Window window, Window root, GC gc, const CX11PixelFormat& format,
               int width, int height, CNativeWindowClient& client);
    static Bool isForWindow(Display* display, XEvent* event, XPointer window);
    static Bool isExposeForWindow(Display* display, XEvent* event, XPointer window);

    /// Paints the damaged area through the client and shows it.
    void repair(const CRectangle& damaged);
    /// Answers false when the client deleted this window during the press.
    bool handleButton(const XButtonEvent& event);
    /// Smallest rectangle around every pixel that differs from what the server shows.
    CRectangle changedArea() const;
    void show(const CRectangle& area);
    void showChanges();

    Display* display;
    Window window;
    Window root;
    bool exists = true;
    bool handlingEvents = false;
    bool* deletedFlag = nullptr;  ///< set by the destructor while a press is handled
    GC gc;
    CX11PixelFormat format;
    CNativeWindowClient& client;
    CSoftSurface surface;
    std::vector<std::uint32_t> shown;  ///< the pixels as last sent to the server
};
