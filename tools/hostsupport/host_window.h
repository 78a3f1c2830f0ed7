// A top-level window that stands in for a host's window: the bundled host and the tests
// open the editor inside it. Each platform provides its own.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CHostWindow {
  public:
    /// Null when no window system is reachable.
    static std::unique_ptr<CHostWindow> create(int width, int height, const char* title);
    virtual ~CHostWindow() = default;

    /// What a host hands to the editor-open request: an HWND, or an X11 window id.
    virtual void* handle() const = 0;
    /// Serves the window system: delivers waiting messages or events of this thread.
    virtual void processEvents() = 0;
    /// Reads back what is shown in the window, children included, as 0x00RRGGBB rows.
    virtual bool capture(std::vector<std::uint32_t>& pixels, int& width, int& height) = 0;
};
