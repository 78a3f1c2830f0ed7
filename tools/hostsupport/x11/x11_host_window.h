// A top-level X11 window on a display connection of its own, as a host would have one.
#pragma once

#include <X11/Xlib.h>

#include "gui/native/x11/x11_pixel_format.h"
#include "tools/hostsupport/host_window.h"

class CX11HostWindow : public CHostWindow {
  public:
    /// Null without an X server or a TrueColor screen.
    static std::unique_ptr<CX11HostWindow> open(int width, int height, const char* title);
    /// Destroys the window (and with it every child) and closes the connection.
    ~CX11HostWindow() override;
    CX11HostWindow(const CX11HostWindow&) = delete;
    CX11HostWindow& operator=(const CX11HostWindow&) = delete;

    void* handle() const override;
    void processEvents() override;
    bool capture(std::vector<std::uint32_t>& pixels, int& width, int& height) override;

  private:
    CX11HostWindow(Display* display, Window window, const CX11PixelFormat& format, int width,
                   int height);

    Display* display;
    Window window;
    CX11PixelFormat format;
    int windowWidth;
    int windowHeight;
};
