#include "gui/native/win32/win32_window.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "gui/native/win32/win32_drop_target.h"
#include "gui/native/win32/win32_platform.h"
#include "gui/native/win32/win32_surface.h"

namespace {

// Process-wide: every frame window of the library shares one class, and editors of
// several threads register, use and unregister it.
std::mutex classLock;
int classUses = 0;
std::atomic<bool> swappedButtons{false};

/// Asks a window of another thread to destroy itself: a window can only be destroyed
/// by its own thread. Honoured only by windows whose object is gone.
constexpr UINT kDestroyYourself = WM_USER + 0x50;

/// After a registration that failed: whether the class of that name is ours anyway (left
/// registered earlier). A class of another module with our name would receive our
/// windows' messages.
bool isOurClass(HINSTANCE module, WNDPROC procedure) {
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    return GetClassInfoExA(module, CWin32Window::className(), &existing) &&
           existing.lpfnWndProc == procedure;
}

/// Counts one more user of the window class, registering it for the first.
bool retainClass(WNDPROC procedure) {
    const std::lock_guard<std::mutex> hold(classLock);
    if (classUses++ > 0) {
        return true;
    }
    HINSTANCE module = CWin32Platform::module();
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = CWin32Window::className();
    swappedButtons = GetSystemMetrics(SM_SWAPBUTTON) > 0;
    if (!RegisterClassA(&windowClass) && !isOurClass(module, procedure)) {
        classUses = 0;
        return false;
    }
    return true;
}

/// Gives a use of the class back once its window is really gone.
void releaseClass() {
    const std::lock_guard<std::mutex> hold(classLock);
    if (classUses > 0 && --classUses == 0) {
        UnregisterClassA(CWin32Window::className(), CWin32Platform::module());
    }
}

/// On the window's own thread: drop registration, window and its use of the class.
void destroyWindow(HWND handle) {
    RevokeDragDrop(handle);  // harmless when the window was never registered
    DestroyWindow(handle);
    releaseClass();
}

/// CMouseStateBits of a button message: its key flags (logical buttons, already
/// swapped for left-handed users) and the Alt key as the message found it.
int pressState(WPARAM keyFlags) {
    int state = 0;
    if (keyFlags & MK_LBUTTON) {
        state |= kMouseLeft;
    }
    if (keyFlags & MK_MBUTTON) {
        state |= kMouseMiddle;
    }
    if (keyFlags & MK_RBUTTON) {
        state |= kMouseRight;
    }
    if (keyFlags & MK_SHIFT) {
        state |= kKeyShift;
    }
    if (keyFlags & MK_CONTROL) {
        state |= kKeyControl;
    }
    if (GetKeyState(VK_MENU) < 0) {
        state |= kKeyAlt;
    }
    return state;
}

const LPCSTR kCursorIds[] = {IDC_WAIT,    IDC_SIZEWE,   IDC_SIZENS,
                             IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENWSE};

}  // namespace

std::unique_ptr<CWin32Window> CWin32Window::create(HWND parent, int width, int height,
                                                   CNativeWindowClient& client) {
    if (!retainClass(&CWin32Window::windowProcedure)) {
        return nullptr;
    }
    std::unique_ptr<CWin32Window> window(new CWin32Window(client));
    window->window = CreateWindowExA(0, className(), "Window", WS_CHILD | WS_VISIBLE, 0, 0, width,
                                     height, parent, nullptr, CWin32Platform::module(), nullptr);
    if (!window->window) {
        return nullptr;  // the destructor gives the class use back
    }
    SetWindowLongPtrA(window->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window.get()));
    return window;
}

CWin32Window::~CWin32Window() {
    if (!window) {
        releaseClass();  // never made, or already destroyed by the host
        return;
    }
    // No message may reach the client any more: it is being deleted.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (onOwnThread()) {
        destroyWindow(window);
        return;
    }
    // The window's own thread destroys it at its next message; nothing waits for that, as
    // that thread may be waiting for this one. Failing, the window went with its thread.
    if (!SendNotifyMessageA(window, kDestroyYourself, 0, 0)) {
        releaseClass();
    }
}

bool CWin32Window::onOwnThread() const {
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

const char* CWin32Window::className() {
    // "Plugin" and every hex digit of the module handle: eight on 32-bit systems, sixteen
    // on 64-bit ones, where two modules may share the low half.
    static const std::string name = [] {
        const std::uint64_t handle = reinterpret_cast<std::uintptr_t>(CWin32Platform::module());
        char text[32];
        if (sizeof(std::uintptr_t) > 4) {
            std::snprintf(text, sizeof text, "Plugin%08x%08x", static_cast<unsigned>(handle >> 32),
                          static_cast<unsigned>(handle));
        } else {
            std::snprintf(text, sizeof text, "Plugin%08x", static_cast<unsigned>(handle));
        }
        return std::string(text);
    }();
    return name.c_str();
}

int CWin32Window::classUseCount() {
    const std::lock_guard<std::mutex> hold(classLock);
    return classUses;
}

bool CWin32Window::buttonsSwapped() {
    return swappedButtons;
}

LRESULT CALLBACK CWin32Window::windowProcedure(HWND handle, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* window = reinterpret_cast<CWin32Window*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    if (!window) {
        if (message == kDestroyYourself) {
            destroyWindow(handle);
            return 0;
        }
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    switch (message) {
        case WM_PAINT: {
            RECT update;
            if (!GetUpdateRect(handle, &update, FALSE)) {
                break;
            }
            window->paint();
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            window->mouseDown(wParam, lParam);
            return 0;
        case WM_DESTROY:
            // The host destroyed its window first: the handle must not be used again.
            SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
            if (window->dropActive) {
                RevokeDragDrop(handle);
                window->dropActive = false;
            }
            window->window = nullptr;
            window->client.windowDestroyed();
            break;
        default:
            break;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

void CWin32Window::paint() {
    // Only locals after the client's call: the client may delete this window object.
    HWND handle = window;
    PAINTSTRUCT paint;
    if (HDC dc = BeginPaint(handle, &paint)) {
        CWin32Surface surface(dc);
        const RECT& area = paint.rcPaint;
        client.paintWindow(surface, CRectangle{area.left, area.top, area.right, area.bottom});
    }
    EndPaint(handle, &paint);
}

void CWin32Window::mouseDown(WPARAM wParam, LPARAM lParam) {
    // A press may start a drag loop that outlives this window object: only locals after it.
    HWND handle = window;
    HDC dc = GetDC(handle);
    if (!dc) {
        return;
    }
    {
        CWin32Surface surface(dc);
        client.mouseDownInWindow(surface, CPosition{LOWORD(lParam), HIWORD(lParam)},
                                 pressState(wParam));
    }
    ReleaseDC(handle, dc);
}

CSurface* CWin32Window::acquireSurface() {
    HDC dc = window ? GetDC(window) : nullptr;
    return dc ? new CWin32Surface(dc) : nullptr;
}

void CWin32Window::releaseSurface(CSurface* surface) {
    auto* native = static_cast<CWin32Surface*>(surface);
    if (!native) {
        return;
    }
    HDC dc = native->dc();
    delete native;
    ReleaseDC(WindowFromDC(dc), dc);
}

std::unique_ptr<CSurface> CWin32Window::createOffscreen(int width, int height) {
    HDC reference = GetDC(window);
    std::unique_ptr<CSurface> surface = CWin32Surface::createOffscreen(reference, width, height);
    ReleaseDC(window, reference);
    return surface;
}

CPosition CWin32Window::screenOrigin() {
    RECT area{};
    if (window) {
        GetWindowRect(window, &area);
    }
    return CPosition{area.left, area.top};
}

bool CWin32Window::dispatchPendingPaint() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        return false;
    }
    DispatchMessageA(&message);
    return true;
}

void CWin32Window::setCursor(int type) {
    if (!cursorSaved) {
        savedCursor = GetCursor();
        cursorSaved = true;
    }
    if (type == 0) {
        SetCursor(savedCursor);
    } else if (type >= 1 && type <= 6) {
        SetCursor(LoadCursorA(nullptr, kCursorIds[type - 1]));
    }
}

bool CWin32Window::setDropActive(bool active) {
    if (active == dropActive) {
        return true;
    }
    // The registration belongs to the window's thread, which revokes it on destruction.
    if (!window || !onOwnThread()) {
        return false;
    }
    if (active) {
        auto* target = new CWin32DropTarget;
        const HRESULT result = RegisterDragDrop(window, target);
        target->Release();  // the registration holds its own reference
        if (FAILED(result)) {
            return false;
        }
    } else {
        RevokeDragDrop(window);
    }
    dropActive = active;
    return true;
}
