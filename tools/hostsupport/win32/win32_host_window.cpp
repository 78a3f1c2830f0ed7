#include "tools/hostsupport/win32/win32_host_window.h"

#include <cstring>

namespace {

const char kHostClassName[] = "PevoHostWindow";

bool registerHostClass() {
    static bool registered = false;
    if (registered) {
        return true;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = kHostClassName;
    registered = RegisterClassA(&windowClass) != 0;
    return registered;
}

/// Reads `width` × `height` pixels at the top-left of `source` through a 32-bit DIB.
bool readPixels(HDC source, int width, int height, std::vector<std::uint32_t>& pixels) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    bool done = false;
    if (dib && memory) {
        HGDIOBJ previous = SelectObject(memory, dib);
        done = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, previous);
        if (done) {
            pixels.resize(static_cast<std::size_t>(width) * height);
            std::memcpy(pixels.data(), bits, pixels.size() * sizeof(std::uint32_t));
            for (std::uint32_t& pixel : pixels) {
                pixel &= 0x00FFFFFF;
            }
        }
    }
    if (memory) {
        DeleteDC(memory);
    }
    if (dib) {
        DeleteObject(dib);
    }
    return done;
}

}  // namespace

std::unique_ptr<CHostWindow> CHostWindow::create(int width, int height, const char* title) {
    return CWin32HostWindow::create(width, height, title);
}

std::unique_ptr<CWin32HostWindow> CWin32HostWindow::create(int width, int height,
                                                           const char* title) {
    if (!registerHostClass()) {
        return nullptr;
    }
    // A plain pop-up, shown without activation: Wine's X11 driver waits two seconds for a
    // window manager to let go of a captioned or active window when it is destroyed, and a
    // virtual X server has none.
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    HWND window = CreateWindowExA(0, kHostClassName, title ? title : "", style, 16, 16, width,
                                  height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        return nullptr;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return std::unique_ptr<CWin32HostWindow>(new CWin32HostWindow(window));
}

CWin32HostWindow::~CWin32HostWindow() {
    DestroyWindow(window);
}

void CWin32HostWindow::processEvents() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool CWin32HostWindow::capture(std::vector<std::uint32_t>& pixels, int& width, int& height) {
    RECT client{};
    if (!GetClientRect(window, &client)) {
        return false;
    }
    width = client.right - client.left;
    height = client.bottom - client.top;
    HDC source = GetDC(window);
    if (!source) {
        return false;
    }
    const bool done = readPixels(source, width, height, pixels);
    ReleaseDC(window, source);
    return done;
}
