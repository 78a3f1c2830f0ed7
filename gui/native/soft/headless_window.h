// A frame window that exists only in memory: a software surface of the window's size that
// tests paint, press and destroy by hand, and whose pixels they read back.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "gui/native/native_window.h"
#include "gui/native/soft/soft_surface.h"

class CHeadlessPlatform;

class CHeadlessWindow : public CNativeWindow {
  public:
    CHeadlessWindow(CHeadlessPlatform& platform, void* parent, int width, int height,
                    CNativeWindowClient& client);
    ~CHeadlessWindow() override;

    CSurface* acquireSurface() override;
    void releaseSurface(CSurface* surface) override;
    std::unique_ptr<CSurface> createOffscreen(int width, int height) override;
    CPosition screenOrigin() override { return origin; }
    /// Delivers every queued paint request, then the queued presses, as the X11 window
    /// does from the editor's idle.
    void processEvents() override;
    void flush() override { ++flushCalls; }
    bool dispatchPendingPaint() override;
    void setCursor(int type) override;
    bool setDropActive(bool active) override;

    // What the window system would do.
    /// Asks the client to repaint `damaged` at once.
    void paint(const CRectangle& damaged);
    /// Asks the client to repaint the whole window at once.
    void paintAll();
    /// Reports a button press at `where` (client coordinates), with the state the event
    /// carries (CMouseStateBits) if given.
    void press(CPosition where, std::optional<std::int32_t> state = std::nullopt);
    /// The window goes away under the client (the host closed its own window).
    void destroy();
    /// Queues a paint request for processEvents / dispatchPendingPaint.
    void queuePaint(const CRectangle& damaged);
    /// Queues a press for processEvents, with the state its event carries.
    void queuePress(CPosition where, std::int32_t state);
    void moveTo(CPosition screenPosition) { origin = screenPosition; }

    // What tests read back.
    std::uint32_t pixel(int x, int y) const { return surface.pixel(x, y); }
    CSoftSurface& pixels() { return surface; }
    void* parent() const { return parentWindow; }
    bool isAlive() const { return alive; }
    int cursorType() const { return cursor; }
    bool isDropActive() const { return dropActive; }
    /// Surfaces handed out and not yet given back.
    int surfacesInUse() const { return acquired; }
    int surfaceAcquisitions() const { return acquisitions; }
    int processEventsCalls() const { return processCalls; }
    int flushes() const { return flushCalls; }
    std::size_t pendingPaints() const { return queued.size(); }

  private:
    CHeadlessPlatform& platform;
    CNativeWindowClient& client;
    void* parentWindow;
    CSoftSurface surface;
    CPosition origin{100, 50};
    std::deque<CRectangle> queued;
    struct Press {
        CPosition where;
        std::int32_t state;
    };
    std::deque<Press> queuedPresses;
    /// Set by the destructor: the client deleted this window while a press was delivered.
    bool* deletedFlag = nullptr;
    bool alive = true;
    bool dropActive = false;
    int cursor = 0;
    int acquired = 0;
    int acquisitions = 0;
    int processCalls = 0;
    int flushCalls = 0;
};
