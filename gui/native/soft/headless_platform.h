// A platform without a display: windows and memory bitmaps are software surfaces, and the
// mouse, the cursor and the clock are whatever the test says. It counts what the toolkit
// asks of it (editors, frames, window class use) so tests can check the pairing.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "gui/native/native_platform.h"
#include "gui/native/soft/headless_window.h"
#include "gui/native/soft/soft_bitmap.h"

class CHeadlessPlatform : public CNativePlatform {
  public:
    /// Installs itself as the current platform; the system's is back after destruction.
    CHeadlessPlatform();
    ~CHeadlessPlatform() override;
    CHeadlessPlatform(const CHeadlessPlatform&) = delete;
    CHeadlessPlatform& operator=(const CHeadlessPlatform&) = delete;

    /// Null while window creation is made to fail.
    std::unique_ptr<CNativeWindow> createWindow(void* parent, int width, int height,
                                                CNativeWindowClient& client) override;
    std::unique_ptr<CSurface> createOffscreen(int width, int height) override;
    /// A bitmap given by addBitmap, else the embedded one, else null.
    std::unique_ptr<CNativeBitmap> loadBitmap(int resourceId) override;

    void editorCreated() override { ++editorCreations; }
    void editorDestroyed() override { ++editorDestructions; }
    void frameCreated() override { ++frameCreations; }
    void frameDestroyed() override { ++frameDestructions; }

    int mouseState() override;
    CPosition cursorPosition() override { return cursor; }
    std::uint32_t ticks() override { return clock; }
    /// Advances the clock instead of waiting.
    void sleep(std::uint32_t milliseconds) override;

    // Injected state.
    void setMouseState(int state) { mouse = state; }
    /// Runs on every mouse-state poll, before the answer (lets a drag loop end).
    void setMousePollHook(std::function<void()> hook) { pollHook = std::move(hook); }
    void setCursorPosition(CPosition screen) { cursor = screen; }
    void setTicks(std::uint32_t milliseconds) { clock = milliseconds; }
    void advance(std::uint32_t milliseconds) { clock += milliseconds; }
    void setWindowCreationFails(bool fails) { windowsFail = fails; }
    /// Resource `resourceId` becomes this picture (0x00RRGGBB rows, top row first).
    void addBitmap(int resourceId, int width, int height, std::vector<std::uint32_t> pixels);

    // What happened.
    int editorsCreated() const { return editorCreations; }
    int editorsDestroyed() const { return editorDestructions; }
    int framesCreated() const { return frameCreations; }
    int framesDestroyed() const { return frameDestructions; }
    int sleepCalls() const { return sleeps; }
    int mousePolls() const { return polls; }
    /// Windows of the class right now; the class is registered while this is above 0.
    int classUseCount() const { return classUse; }
    int classRegistrations() const { return registrations; }
    int classUnregistrations() const { return unregistrations; }
    /// Bitmaps handed out by loadBitmap and not yet deleted.
    int liveBitmaps() const { return *bitmapsAlive; }
    const std::vector<CHeadlessWindow*>& windows() const { return liveWindows; }
    /// The window created last, or null when none is alive.
    CHeadlessWindow* lastWindow() const;

    // Called by the windows.
    void windowCreated(CHeadlessWindow* window);
    void windowDestroyed(CHeadlessWindow* window);

  private:
    struct Picture {
        int width;
        int height;
        CSoftBitmap::Pixels pixels;
    };

    int mouse = 0;
    std::function<void()> pollHook;
    CPosition cursor;
    std::uint32_t clock = 1000;
    bool windowsFail = false;
    /// The pictures given and those decoded so far; bitmaps load on any thread.
    std::map<int, Picture> pictures;
    std::mutex picturesMutex;
    // Editors, frames and bitmaps without a window may come and go on any thread.
    std::shared_ptr<std::atomic<int>> bitmapsAlive = std::make_shared<std::atomic<int>>(0);
    std::atomic<int> editorCreations{0};
    std::atomic<int> editorDestructions{0};
    std::atomic<int> frameCreations{0};
    std::atomic<int> frameDestructions{0};
    int sleeps = 0;
    int polls = 0;
    int classUse = 0;
    int registrations = 0;
    int unregistrations = 0;
    std::vector<CHeadlessWindow*> liveWindows;
};
