// The real pointer, moved by xdotool as a user's hand would move it. Under Wine the same
// X server shows the Windows desktop, so the Linux program is started from the Windows side.
#pragma once

#include <atomic>
#include <string>
#include <thread>

/// Runs one xdotool command line on a thread of its own: the window under test only sees
/// the pointer while the caller's thread keeps serving its events.
class PointerGesture {
  public:
    /// Starts xdotool with `arguments` (xdotool's own chained commands) at once.
    explicit PointerGesture(const std::string& arguments);
    /// Waits for xdotool to end.
    ~PointerGesture();
    PointerGesture(const PointerGesture&) = delete;
    PointerGesture& operator=(const PointerGesture&) = delete;

    /// Whether xdotool has ended; under Wine, only that it has been started.
    bool finished() const { return done.load(); }

    /// Whether xdotool can be run here at all.
    static bool available();
    /// Arguments that find the top-level window titled `title` as xdotool's window %1.
    static std::string findWindow(const std::string& title);
    /// Runs xdotool with `arguments` and waits for it; false when it cannot be run or fails.
    /// Under Wine it is only started.
    static bool run(const std::string& arguments);
    /// Moves the pointer to (x, y) inside `window` (an X11 window id or an HWND), then does
    /// `actions`, and waits, as run.
    static bool runAt(void* window, int x, int y, const std::string& actions);

  private:
    std::atomic<bool> done{false};
    std::thread runner;
};
