// The platform contract: everything platform-bound that the toolkit uses, and what each
// folder of gui/native/ provides for it. The build picks one system platform:
//   x11/    CNativePlatform::system(), a CX11Platform: child windows of the host's X11
//           window (CNativeWindow) that draw through soft/
//   win32/  CNativePlatform::system(), a CWin32Platform: child windows of the host's HWND,
//           GDI surfaces (CSurface) and the library's bitmap resources (CNativeBitmap)
//   soft/   software surfaces, bitmaps from the embedded resources and fonts through
//           fontconfig and FreeType, for x11/; and the headless platform, windows in
//           memory, that tests install in place of the system's
// native_window.h and surface.h declare what these windows, surfaces and bitmaps do;
// nothing above gui/native/ sees a platform's own classes.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/geometry.h"
#include "gui/native/native_window.h"
#include "gui/native/surface.h"

class CNativePlatform {
  public:
    virtual ~CNativePlatform() = default;

    /// The platform in use: the installed one, else the system's.
    static CNativePlatform& current();
    /// Replaces the system platform until called again with null (for tests).
    static void install(CNativePlatform* platform);
    /// The platform this build was made for.
    static CNativePlatform& system();

    /// Creates a child window of `parent` (the host's window) of the given size.
    virtual std::unique_ptr<CNativeWindow> createWindow(void* parent, int width, int height,
                                                        CNativeWindowClient& client) = 0;
    /// Memory surface when no window exists to be compatible with.
    virtual std::unique_ptr<CSurface> createOffscreen(int width, int height) = 0;
    /// Null when the library has no such bitmap.
    virtual std::unique_ptr<CNativeBitmap> loadBitmap(int resourceId) = 0;

    /// Per-editor and per-frame set-up and tear-down of the window system's services
    /// (component model, image library); calls come in pairs.
    virtual void editorCreated() = 0;
    virtual void editorDestroyed() = 0;
    virtual void frameCreated() = 0;
    virtual void frameDestroyed() = 0;

    /// Buttons and modifier keys down right now, as CMouseStateBits.
    virtual int mouseState() = 0;
    /// Cursor position on the screen.
    virtual CPosition cursorPosition() = 0;
    /// Milliseconds from an arbitrary start, wrapping.
    virtual std::uint32_t ticks() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
    /// Longest gap between the clicks of a double click, in milliseconds.
    virtual std::uint32_t doubleClickTime() { return 500; }
};
