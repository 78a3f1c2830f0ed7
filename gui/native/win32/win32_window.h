// The frame's child window inside the host's window on Windows.
#pragma once

#include <windows.h>

#include <memory>

#include "gui/native/native_window.h"

class CWin32Window : public CNativeWindow {
  public:
    /// A visible child of `parent` at (0, 0); null when it cannot be made, also when
    /// another module holds a class of our class name.
    static std::unique_ptr<CWin32Window> create(HWND parent, int width, int height,
                                                CNativeWindowClient& client);
    /// Destroys the window unless the host has already done so; from another thread, has
    /// the window's own thread destroy it at its next message.
    ~CWin32Window() override;
    CWin32Window(const CWin32Window&) = delete;
    CWin32Window& operator=(const CWin32Window&) = delete;

    /// Null once the window is destroyed.
    HWND handle() const { return window; }
    /// The class name: "Plugin" and the module handle in hex, 8 digits on 32-bit systems
    /// and 16 on 64-bit ones.
    static const char* className();
    /// Windows of the class in the process, counting those whose destruction another
    /// thread has asked for; the class is registered while above 0.
    static int classUseCount();
    /// Whether the mouse buttons were swapped when the class was first registered.
    static bool buttonsSwapped();

    CSurface* acquireSurface() override;
    void releaseSurface(CSurface* surface) override;
    std::unique_ptr<CSurface> createOffscreen(int width, int height) override;

    CPosition screenOrigin() override;
    void processEvents() override {}
    /// Drawing reaches the screen at once on Windows.
    void flush() override {}
    bool dispatchPendingPaint() override;
    void setCursor(int type) override;
    bool setDropActive(bool active) override;

  private:
    explicit CWin32Window(CNativeWindowClient& client) : client(client) {}

    bool onOwnThread() const;
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void paint();
    void mouseDown(WPARAM wParam, LPARAM lParam);

    CNativeWindowClient& client;
    HWND window = nullptr;
    HCURSOR savedCursor = nullptr;
    bool cursorSaved = false;
    bool dropActive = false;
};
