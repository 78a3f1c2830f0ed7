// The toolkit's platform on Windows: frame windows, memory surfaces and bitmaps through
// the graphics system, the component model and image library set-up, mouse and clock.
#pragma once

#include <windows.h>

#include <mutex>

#include "gui/native/native_platform.h"

class CWin32Platform : public CNativePlatform {
  public:
    /// The library's own module: bitmaps are its resources, the window class is its own.
    static HINSTANCE module();

    std::unique_ptr<CNativeWindow> createWindow(void* parent, int width, int height,
                                                CNativeWindowClient& client) override;
    std::unique_ptr<CSurface> createOffscreen(int width, int height) override;
    std::unique_ptr<CNativeBitmap> loadBitmap(int resourceId) override;

    void editorCreated() override;
    void editorDestroyed() override;
    void frameCreated() override;
    void frameDestroyed() override;

    int mouseState() override;
    CPosition cursorPosition() override;
    std::uint32_t ticks() override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t doubleClickTime() override;

  private:
    void loadImageLibrary();

    /// Editors on several window threads set up and end frames at once.
    std::mutex imageLibraryLock;
    HMODULE imageLibrary = nullptr;
    int imageLibraryLoads = 0;
};
