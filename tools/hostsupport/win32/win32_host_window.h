// A top-level window standing in for a host's window on Windows.
#pragma once

#include <windows.h>

#include "tools/hostsupport/host_window.h"

class CWin32HostWindow : public CHostWindow {
  public:
    /// Null when the window cannot be made.
    static std::unique_ptr<CWin32HostWindow> create(int width, int height, const char* title);
    ~CWin32HostWindow() override;
    CWin32HostWindow(const CWin32HostWindow&) = delete;
    CWin32HostWindow& operator=(const CWin32HostWindow&) = delete;

    void* handle() const override { return window; }
    void processEvents() override;
    bool capture(std::vector<std::uint32_t>& pixels, int& width, int& height) override;

  private:
    explicit CWin32HostWindow(HWND window) : window(window) {}

    HWND window;
};
