#include "gui/native/soft/headless_window.h"

#include "gui/native/soft/headless_platform.h"

CHeadlessWindow::CHeadlessWindow(CHeadlessPlatform& platform, void* parent, int width, int height,
                                 CNativeWindowClient& client)
    : platform(platform), client(client), parentWindow(parent), surface(width, height) {
    platform.windowCreated(this);
}

CHeadlessWindow::~CHeadlessWindow() {
    if (deletedFlag) {
        *deletedFlag = true;
    }
    platform.windowDestroyed(this);
}

CSurface* CHeadlessWindow::acquireSurface() {
    if (!alive) {
        return nullptr;
    }
    ++acquired;
    ++acquisitions;
    return &surface;
}

void CHeadlessWindow::releaseSurface(CSurface* released) {
    if (released == &surface) {
        --acquired;
    }
}

std::unique_ptr<CSurface> CHeadlessWindow::createOffscreen(int width, int height) {
    return std::make_unique<CSoftSurface>(width, height);
}

void CHeadlessWindow::processEvents() {
    ++processCalls;
    while (dispatchPendingPaint()) {
    }
    while (alive && !queuedPresses.empty()) {
        const Press next = queuedPresses.front();
        queuedPresses.pop_front();
        // The client may close its editor in the press and delete this window with it.
        bool deleted = false;
        deletedFlag = &deleted;
        client.mouseDownInWindow(surface, next.where, next.state);
        if (deleted) {
            return;
        }
        deletedFlag = nullptr;
    }
}

bool CHeadlessWindow::dispatchPendingPaint() {
    if (!alive || queued.empty()) {
        return false;
    }
    const CRectangle damaged = queued.front();
    queued.pop_front();
    client.paintWindow(surface, damaged);
    return true;
}

void CHeadlessWindow::setCursor(int type) {
    if (type >= 0 && type <= 6) {
        cursor = type;
    }
}

bool CHeadlessWindow::setDropActive(bool active) {
    if (!alive) {
        return false;
    }
    dropActive = active;
    return true;
}

void CHeadlessWindow::paint(const CRectangle& damaged) {
    if (alive) {
        client.paintWindow(surface, damaged);
    }
}

void CHeadlessWindow::paintAll() {
    paint({0, 0, surface.width(), surface.height()});
}

void CHeadlessWindow::press(CPosition where, std::optional<std::int32_t> state) {
    if (alive) {
        client.mouseDownInWindow(surface, where, state);
    }
}

void CHeadlessWindow::destroy() {
    if (!alive) {
        return;
    }
    alive = false;
    queued.clear();
    queuedPresses.clear();
    client.windowDestroyed();
}

void CHeadlessWindow::queuePaint(const CRectangle& damaged) {
    if (alive) {
        queued.push_back(damaged);
    }
}

void CHeadlessWindow::queuePress(CPosition where, std::int32_t state) {
    if (alive) {
        queuedPresses.push_back({where, state});
    }
}
