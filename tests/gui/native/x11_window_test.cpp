// The X11 window inside a host's window, under a real (or virtual) X server.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui/native/x11/x11_platform.h"
#include "tests/gui/native/test_host_window.h"
#include "tests/host/pointer_gesture.h"

namespace {

constexpr CRgbColour kBlue{0, 0, 255, 0};
constexpr CRgbColour kGreen{0, 255, 0, 0};
constexpr int kHostWidth = 200;
constexpr int kHostHeight = 150;
constexpr int kWidth = 120;
constexpr int kHeight = 80;

/// Paints blue with a red block at (10, 20)-(50, 40) and records what reaches it.
class RecordingClient : public CNativeWindowClient {
  public:
    void paintWindow(CSurface& surface, const CRectangle& damaged) override {
        ++paints;
        surface.setBrush(kBlue);
        surface.fillRect(damaged);
        surface.setBrush(kColourRed);
        surface.fillRect({10, 20, 50, 40});
    }
    void mouseDownInWindow(CSurface&, CPosition where, std::optional<std::int32_t> state) override {
        presses.push_back(where);
        states.push_back(state.value_or(-1));
    }
    void windowDestroyed() override { destroyed = true; }

    int paints = 0;
    std::vector<CPosition> presses;
    std::vector<std::int32_t> states;
    bool destroyed = false;
};

class X11WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* why = nullptr;
        host = openTestHost(kHostWidth, kHostHeight, "x11 window test", why);
        if (!host)
            GTEST_SKIP() << why;
        window = platform.createWindow(host->handle(), kWidth, kHeight, client);
        ASSERT_NE(window, nullptr);
        window->processEvents();
    }

    std::uint32_t shown(int x, int y) { return shownAt(*host, x, y); }

    CX11Platform platform;
    std::unique_ptr<CHostWindow> host;
    RecordingClient client;
    std::unique_ptr<CNativeWindow> window;
};

TEST_F(X11WindowTest, PaintsOnExposeAndShowsLaterDrawingInPlace) {
    EXPECT_GE(client.paints, 1);
    EXPECT_EQ(shown(10, 20), 0xFF0000u);
    EXPECT_EQ(shown(49, 39), 0xFF0000u);
    EXPECT_EQ(shown(50, 40), 0x0000FFu);
    EXPECT_EQ(shown(kWidth - 1, kHeight - 1), 0x0000FFu);
    EXPECT_EQ(shown(kWidth, kHeight - 1), 0xFFFFFFu);  // host background beside the child
    EXPECT_EQ(shown(kWidth - 1, kHeight), 0xFFFFFFu);

    // Drawing outside a paint request shows once the surface is released.
    CSurface* surface = window->acquireSurface();
    surface->setBrush(kGreen);
    surface->fillRect({60, 60, 70, 70});
    window->releaseSurface(surface);
    EXPECT_EQ(shown(60, 60), 0x00FF00u);
    EXPECT_EQ(shown(69, 69), 0x00FF00u);
    EXPECT_EQ(shown(70, 70), 0x0000FFu);
    EXPECT_EQ(shown(59, 59), 0x0000FFu);

    // Hidden and shown again, the window is painted anew and shows all of it, also what
    // the paint left as it was.
    const std::string id = std::to_string(reinterpret_cast<std::uintptr_t>(host->handle()));
    if (!PointerGesture::run("windowunmap --sync " + id + " windowmap --sync " + id))
        GTEST_SKIP() << "xdotool cannot be run";
    window->processEvents();
    EXPECT_EQ(shown(10, 20), 0xFF0000u);
    EXPECT_EQ(shown(65, 65), 0x0000FFu);
}

TEST_F(X11WindowTest, PressesArriveInClientCoordinatesAndStateIsPolled) {
    if (!PointerGesture::runAt(host->handle(), 33, 44, "click 1"))
        GTEST_SKIP() << "xdotool cannot be run";
    window->processEvents();
    ASSERT_EQ(client.presses.size(), 1u);
    EXPECT_EQ(client.presses[0].x, 33);
    EXPECT_EQ(client.presses[0].y, 44);
    EXPECT_EQ(client.states[0], kMouseLeft) << "the press carries its own button";
    const CPosition origin = window->screenOrigin();
    EXPECT_EQ(platform.cursorPosition().x, origin.x + 33);
    EXPECT_EQ(platform.cursorPosition().y, origin.y + 44);

    // The wheel and presses beside the child reach nobody.
    ASSERT_TRUE(PointerGesture::runAt(host->handle(), 5, 5, "click 4 click 5"));
    ASSERT_TRUE(PointerGesture::runAt(host->handle(), 150, 100, "click 1"));
    window->processEvents();
    EXPECT_EQ(client.presses.size(), 1u);

    ASSERT_TRUE(PointerGesture::run("keydown shift mousedown 3"));
    EXPECT_EQ(platform.mouseState(), kMouseRight | kKeyShift);
    ASSERT_TRUE(PointerGesture::run("mouseup 3 keyup shift keydown ctrl keydown alt mousedown 1"));
    EXPECT_EQ(platform.mouseState(), kMouseLeft | kKeyControl | kKeyAlt);
    ASSERT_TRUE(PointerGesture::run("mouseup 1 keyup alt keyup ctrl"));
    EXPECT_EQ(platform.mouseState(), 0);
}

TEST_F(X11WindowTest, DestroyedParentReportsTheWindowGoneAndLeavesTheProcessAlive) {
    host.reset();
    // Drawing before the news arrives reaches a window the server no longer has; the
    // error it answers must not end the process.
    CSurface* surface = window->acquireSurface();
    surface->setBrush(kGreen);
    surface->fillRect({0, 0, 10, 10});
    window->releaseSurface(surface);
    window->setCursor(1);
    window->screenOrigin();
    window->processEvents();
    EXPECT_TRUE(client.destroyed);
    window.reset();
}

TEST_F(X11WindowTest, CursorShapesAndDropAreHarmless) {
    for (int type : {1, 2, 3, 4, 5, 6, 0, 7, -1})
        window->setCursor(type);
    EXPECT_TRUE(window->setDropActive(true));
    EXPECT_TRUE(window->setDropActive(false));
    EXPECT_FALSE(window->dispatchPendingPaint());
}

TEST_F(X11WindowTest, BadParentsAndMissingServersGiveNoWindow) {
    RecordingClient other;
    EXPECT_EQ(platform.createWindow(nullptr, kWidth, kHeight, other), nullptr);
    EXPECT_EQ(platform.createWindow(host->handle(), 0, kHeight, other), nullptr);
    // An id nobody has created yet: the server's error must not end the process.
    void* bogus =
        reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(host->handle()) + 0x10000);
    EXPECT_EQ(platform.createWindow(bogus, kWidth, kHeight, other), nullptr);

    const std::string display = std::getenv("DISPLAY");
    setenv("DISPLAY", ":9876", 1);
    CX11Platform unreachable;
    EXPECT_EQ(unreachable.createWindow(host->handle(), kWidth, kHeight, other), nullptr);
    EXPECT_EQ(unreachable.mouseState(), 0);
    setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
