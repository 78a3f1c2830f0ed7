#include "gui/native/win32/win32_platform.h"

#include <ole2.h>

#include "gui/native/win32/win32_bitmap.h"
#include "gui/native/win32/win32_surface.h"
#include "gui/native/win32/win32_window.h"
#include "plugin/plugin_module.h"

namespace {

// The component model is started per thread; a start that failed (the thread already
// runs another apartment model) must not be ended, or the host's own use would end.
thread_local int oleStarts = 0;

void startOle() {
    if (SUCCEEDED(OleInitialize(nullptr))) {
        ++oleStarts;
    }
}

void endOle() {
    if (oleStarts > 0) {
        --oleStarts;
        OleUninitialize();
    }
}

bool keyDown(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// The extended version record; its size tells the system which record it is given.
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "version record size");

bool isNtFamily() {
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) &&
           version.dwPlatformId >= VER_PLATFORM_WIN32_NT;
}

}  // namespace

CNativePlatform& CNativePlatform::system() {
    static CWin32Platform platform;
    return platform;
}

HINSTANCE CWin32Platform::module() {
    if (void* stored = PluginModule::handle()) {
        return static_cast<HINSTANCE>(stored);
    }
    // Not loaded as the plug-in (a test program): the module holding this code.
    HMODULE own = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&CWin32Platform::module), &own);
    return own;
}

std::unique_ptr<CNativeWindow> CWin32Platform::createWindow(void* parent, int width, int height,
                                                            CNativeWindowClient& client) {
    return CWin32Window::create(static_cast<HWND>(parent), width, height, client);
}

std::unique_ptr<CSurface> CWin32Platform::createOffscreen(int width, int height) {
    HDC screen = GetDC(nullptr);
    std::unique_ptr<CSurface> surface = CWin32Surface::createOffscreen(screen, width, height);
    ReleaseDC(nullptr, screen);
    return surface;
}

std::unique_ptr<CNativeBitmap> CWin32Platform::loadBitmap(int resourceId) {
    HBITMAP bitmap = LoadBitmapA(module(), MAKEINTRESOURCEA(resourceId & 0xFFFF));
    if (!bitmap) {
        return nullptr;
    }
    return std::make_unique<CWin32Bitmap>(bitmap);
}

void CWin32Platform::editorCreated() {
    startOle();
}

void CWin32Platform::editorDestroyed() {
    endOle();
}

void CWin32Platform::frameCreated() {
    startOle();
    loadImageLibrary();
}

void CWin32Platform::loadImageLibrary() {
    const std::lock_guard<std::mutex> hold(imageLibraryLock);
    CWin32Surface::setTransparentBlt(nullptr);
    HMODULE library = LoadLibraryA("msimg32.dll");
    if (!library) {
        return;
    }
    imageLibrary = library;
    ++imageLibraryLoads;
    if (isNtFamily()) {
        // Through a generic function pointer: the entry point's type is known only here.
        auto entry = reinterpret_cast<void (*)()>(GetProcAddress(library, "TransparentBlt"));
        CWin32Surface::setTransparentBlt(reinterpret_cast<TransparentBltFunction>(entry));
    }
}

void CWin32Platform::frameDestroyed() {
    endOle();
    const std::lock_guard<std::mutex> hold(imageLibraryLock);
    if (imageLibraryLoads == 0) {
        return;
    }
    if (--imageLibraryLoads == 0) {
        // The library may leave the process now: no surface may call into it any more.
        CWin32Surface::setTransparentBlt(nullptr);
    }
    FreeLibrary(imageLibrary);
}

int CWin32Platform::mouseState() {
    // The key state reports the physical buttons; the logical ones may be swapped.
    const bool swapped = CWin32Window::buttonsSwapped();
    int state = 0;
    if (keyDown(VK_LBUTTON)) {
        state |= swapped ? kMouseRight : kMouseLeft;
    }
    if (keyDown(VK_MBUTTON)) {
        state |= kMouseMiddle;
    }
    if (keyDown(VK_RBUTTON)) {
        state |= swapped ? kMouseLeft : kMouseRight;
    }
    if (keyDown(VK_SHIFT)) {
        state |= kKeyShift;
    }
    if (keyDown(VK_CONTROL)) {
        state |= kKeyControl;
    }
    if (keyDown(VK_MENU)) {
        state |= kKeyAlt;
    }
    return state;
}

CPosition CWin32Platform::cursorPosition() {
    POINT point{};
    GetCursorPos(&point);
    return CPosition{point.x, point.y};
}

std::uint32_t CWin32Platform::ticks() {
    return GetTickCount();
}

void CWin32Platform::sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

std::uint32_t CWin32Platform::doubleClickTime() {
    return GetDoubleClickTime();
}
