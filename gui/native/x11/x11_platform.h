// The Linux system platform: windows are X11 children of the host's window, painted from
// software surfaces; the mouse and the clock come from the X server and the kernel.
#pragma once

#include <X11/Xlib.h>

#include "gui/native/native_platform.h"

class CX11Platform : public CNativePlatform {
  public:
    CX11Platform() = default;
    ~CX11Platform() override;
    CX11Platform(const CX11Platform&) = delete;
    CX11Platform& operator=(const CX11Platform&) = delete;

    /// `parent` is the host's window id. Null without an X server or with a bad window id.
    std::unique_ptr<CNativeWindow> createWindow(void* parent, int width, int height,
                                                CNativeWindowClient& client) override;
    std::unique_ptr<CSurface> createOffscreen(int width, int height) override;
    std::unique_ptr<CNativeBitmap> loadBitmap(int resourceId) override;

    // No component model or image library to set up on X11.
    void editorCreated() override {}
    void editorDestroyed() override {}
    void frameCreated() override {}
    void frameDestroyed() override {}

    /// 0 without an X server.
    int mouseState() override;
    CPosition cursorPosition() override;
    std::uint32_t ticks() override;
    void sleep(std::uint32_t milliseconds) override;

    /// CMouseStateBits of an X pointer and modifier mask.
    static int stateFromMask(unsigned int mask);

  private:
    /// Our own connection, opened on first use; null while no server can be reached.
    Display* display();
    bool queryPointer(int& rootX, int& rootY, unsigned int& mask);

    Display* display_ = nullptr;
};
