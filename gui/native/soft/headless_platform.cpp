#include "gui/native/soft/headless_platform.h"

#include <algorithm>

#include "gui/native/soft/soft_bitmap.h"

namespace {

/// Counts itself so tests see when the toolkit lets go of a bitmap.
class CCountedBitmap : public CSoftBitmap {
  public:
    CCountedBitmap(int width, int height, Pixels pixels, std::shared_ptr<std::atomic<int>> alive)
        : CSoftBitmap(width, height, std::move(pixels)), alive(std::move(alive)) {
        ++*this->alive;
    }
    ~CCountedBitmap() override { --*alive; }

  private:
    std::shared_ptr<std::atomic<int>> alive;
};

}  // namespace

CHeadlessPlatform::CHeadlessPlatform() {
    install(this);
}

CHeadlessPlatform::~CHeadlessPlatform() {
    install(nullptr);
}

std::unique_ptr<CNativeWindow> CHeadlessPlatform::createWindow(void* parent, int width, int height,
                                                               CNativeWindowClient& client) {
    if (windowsFail || !parent) {
        return nullptr;
    }
    return std::make_unique<CHeadlessWindow>(*this, parent, width, height, client);
}

std::unique_ptr<CSurface> CHeadlessPlatform::createOffscreen(int width, int height) {
    return std::make_unique<CSoftSurface>(width, height);
}

void CHeadlessPlatform::addBitmap(int resourceId, int width, int height,
                                  std::vector<std::uint32_t> pixels) {
    const std::lock_guard<std::mutex> lock(picturesMutex);
    pictures[resourceId] = Picture{
        width, height, std::make_shared<const std::vector<std::uint32_t>>(std::move(pixels))};
}

std::unique_ptr<CNativeBitmap> CHeadlessPlatform::loadBitmap(int resourceId) {
    // Each picture is decoded once; its bitmaps share the pixels.
    const std::lock_guard<std::mutex> lock(picturesMutex);
    auto given = pictures.find(resourceId);
    if (given == pictures.end()) {
        std::unique_ptr<CSoftBitmap> embedded = loadSoftBitmap(resourceId);
        if (!embedded) {
            return nullptr;
        }
        given = pictures
                    .emplace(resourceId, Picture{embedded->width(), embedded->height(),
                                                 embedded->sharedPixels()})
                    .first;
    }
    const Picture& p = given->second;
    return std::make_unique<CCountedBitmap>(p.width, p.height, p.pixels, bitmapsAlive);
}

int CHeadlessPlatform::mouseState() {
    ++polls;
    if (pollHook) {
        pollHook();
    }
    return mouse;
}

void CHeadlessPlatform::sleep(std::uint32_t milliseconds) {
    ++sleeps;
    clock += milliseconds;
}

CHeadlessWindow* CHeadlessPlatform::lastWindow() const {
    return liveWindows.empty() ? nullptr : liveWindows.back();
}

void CHeadlessPlatform::windowCreated(CHeadlessWindow* window) {
    // Counted like the window class of the system platforms: registered by the first
    // window, unregistered when the last one goes.
    if (classUse++ == 0) {
        ++registrations;
    }
    liveWindows.push_back(window);
}

void CHeadlessPlatform::windowDestroyed(CHeadlessWindow* window) {
    liveWindows.erase(std::remove(liveWindows.begin(), liveWindows.end(), window),
                      liveWindows.end());
    if (classUse > 0 && --classUse == 0) {
        ++unregistrations;
    }
}
