// The Linux system platform: windows are X11 children of the host's window, painted from
// software surfaces; the mouse and the clock come from the X server and the kernel.
#pragma once

#include <X11/Xlib.h>

#include "gui/native/native_platform.h"

class CX11Platform : public CNativePlatform {
  public:
    /// A new connection to the server at DISPLAY, or null. Hosts run several editors,
    /// sometimes on several threads: each window has a connection of its own.
    static Display* openDisplay();

    /// `parent` is the host's window id; the window gets a connection of its own. Null
    /// without an X server or with a bad window id.
    std::unique_ptr<CNativeWindow> createWindow(void* parent, int width, int height,
                                                CNativeWindowClient& client) override;
    std::unique_ptr<CSurface> createOffscreen(int width, int height) override;
    std::unique_ptr<CNativeBitmap> loadBitmap(int resourceId) override;

    // No component model or image library to set up on X11.
    void editorCreated() override {}
    void editorDestroyed() override {}
    void frameCreated() override {}
    void frameDestroyed() override {}

    /// Asked through the calling thread's own connection. 0 without an X server.
    int mouseState() override;
    CPosition cursorPosition() override;
    std::uint32_t ticks() override;
    void sleep(std::uint32_t milliseconds) override;

    /// CMouseStateBits of an X pointer and modifier mask.
    static int stateFromMask(unsigned int mask);

  private:
    bool queryPointer(int& rootX, int& rootY, unsigned int& mask);
};
