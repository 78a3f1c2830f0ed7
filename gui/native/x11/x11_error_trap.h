// Catches the X errors of our own display connection for the span of one operation.
// Xlib's default handler ends the process, and a host window that vanished (or a bad
// window id from the host) must never take the host down with it.
#pragma once

#include <X11/Xlib.h>

class CX11ErrorTrap {
  public:
    /// Starts catching errors of `display` on this thread; errors of other connections
    /// still reach the handler that was installed before the first trap.
    explicit CX11ErrorTrap(Display* display);
    /// Collects what is still in flight.
    ~CX11ErrorTrap();
    CX11ErrorTrap(const CX11ErrorTrap&) = delete;
    CX11ErrorTrap& operator=(const CX11ErrorTrap&) = delete;

    /// Waits until the server has handled every request so far; answers whether any of
    /// them failed since the trap was set.
    bool failed();

  private:
    static int handleError(Display* display, XErrorEvent* error);
    /// Run when the library is unloaded: Xlib must not call into code that is gone.
    static void restoreHandler();

    Display* display;
    CX11ErrorTrap* outer;
    bool errorSeen = false;
};
