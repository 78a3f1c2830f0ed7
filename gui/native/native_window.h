// The frame's own window inside the host's window, as each platform provides it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "gui/geometry.h"
#include "gui/native/surface.h"

/// Bits of the mouse state.
enum CMouseStateBits : int {
    kMouseLeft = 1,
    kMouseMiddle = 2,
    kMouseRight = 4,
    kKeyShift = 8,
    kKeyControl = 16,
    kKeyAlt = 32,
};

/// What a native window reports to the view that owns it (the frame).
class CNativeWindowClient {
  public:
    virtual ~CNativeWindowClient() = default;
    /// The window system asks for `damaged` to be repainted onto `surface`.
    virtual void paintWindow(CSurface& surface, const CRectangle& damaged) = 0;
    /// A mouse button went down at `where`, in client coordinates. `state` is what the
    /// press event itself says of the buttons (the pressed one included) and modifier
    /// keys, as CMouseStateBits; empty when the window system did not say.
    virtual void mouseDownInWindow(CSurface& surface, CPosition where,
                                   std::optional<std::int32_t> state) = 0;
    /// The window is gone; nothing may be drawn into it any more.
    virtual void windowDestroyed() = 0;
};

class CNativeWindow {
  public:
    /// Destroys the window if it still exists.
    virtual ~CNativeWindow() = default;

    /// A surface over the window for drawing outside a paint request, valid until
    /// releaseSurface; what was drawn shows on the screen by then at the latest. Null
    /// once the window is gone.
    virtual CSurface* acquireSurface() = 0;
    virtual void releaseSurface(CSurface* surface) = 0;
    /// Memory surface of the given size, compatible with this window's surfaces; null
    /// when the system has no memory for it.
    virtual std::unique_ptr<CSurface> createOffscreen(int width, int height) = 0;

    /// Top-left of the window on the screen.
    virtual CPosition screenOrigin() = 0;
    /// Handles the window's waiting events (needed where the host does not run our
    /// event loop for us); paint and mouse events reach the client.
    virtual void processEvents() = 0;
    /// Shows what was drawn into the window so far: where drawing goes to the screen only
    /// when a press returns, a drag would otherwise show nothing until it ends.
    virtual void flush() = 0;
    /// Delivers one waiting paint request, if any, and answers whether it did.
    virtual bool dispatchPendingPaint() = 0;
    /// Cursor type 0 restores the cursor saved at the first change; 1 to 6 are wait,
    /// size west-east, north-south, all, north-east–south-west, north-west–south-east.
    virtual void setCursor(int type) = 0;
    /// Registers or revokes the window as a file-drop target.
    virtual bool setDropActive(bool active) = 0;
};
