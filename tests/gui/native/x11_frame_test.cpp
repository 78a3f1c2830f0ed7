// A frame with a background bitmap and coloured views, opened inside a host window on the
// X server: what the views paint shows in place, and presses reach the right view.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui/frame.h"
#include "gui/native/soft/soft_bitmap.h"
#include "gui/resource_bitmap.h"
#include "tests/gui/native/test_host_window.h"
#include "tests/gui/probe_view.h"
#include "tests/host/pointer_gesture.h"

namespace {

constexpr CRgbColour kGreen{0, 255, 0, 0};
constexpr CRgbColour kBlue{0, 0, 255, 0};
constexpr CRgbColour kYellow{255, 255, 0, 0};

bool clickAt(const CHostWindow& host, int x, int y) {
    return PointerGesture::runAt(host.handle(), x, y, "click 1");
}

class X11FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* why = nullptr;
        host = openTestHost(940, 240, "x11 frame test", why);
        if (!host)
            GTEST_SKIP() << why;
        frame = new CFrame({0, 0, 900, 202}, host->handle(), nullptr);
        ASSERT_TRUE(frame->isWindowOpen());
        auto* panel = new CResourceBitmap(128);
        frame->setBackground(panel);
        panel->release();
        frame->addView(new CProbeView({100, 50, 160, 90}, "red", log, kColourRed));
        frame->addView(new CProbeView({140, 70, 200, 110}, "yellow", log, kYellow));
        frame->addView(new CProbeView({300, 60, 400, 120}, "green", log, kGreen));
        blue = new CProbeView({600, 100, 700, 150}, "blue", log, kBlue);
        frame->addView(blue);
        frame->processEvents();
    }
    void TearDown() override { delete frame; }

    std::uint32_t shown(int x, int y) { return shownAt(*host, x, y); }

    std::unique_ptr<CHostWindow> host;
    CEventLog log;
    CFrame* frame = nullptr;
    CProbeView* blue = nullptr;
};

TEST_F(X11FrameTest, PaintShowsBackgroundAndViewsInListOrder) {
    EXPECT_FALSE(frame->isFirstDrawPending());
    const auto panel = loadSoftBitmap(128);
    ASSERT_NE(panel, nullptr);
    for (CPosition at : {CPosition{0, 0}, CPosition{20, 190}, CPosition{899, 201}}) {
        EXPECT_EQ(shown(at.x, at.y), panel->pixel(at.x, at.y)) << at.x << "," << at.y;
    }
    EXPECT_EQ(shown(100, 50), 0xFF0000u);
    EXPECT_EQ(shown(150, 80), 0xFFFF00u);  // the later view covers the earlier one
    EXPECT_EQ(shown(399, 119), 0x00FF00u);
    EXPECT_EQ(shown(650, 120), 0x0000FFu);
    EXPECT_EQ(shown(920, 220), 0xFFFFFFu);  // the host's own background

    // An idle redraw shows a view that moved, without waiting for a paint request.
    blue->setBounds({600, 10, 700, 40});
    frame->idle();
    EXPECT_EQ(shown(650, 20), 0x0000FFu);
}

TEST_F(X11FrameTest, PressReachesTheTopmostViewUnderIt) {
    if (!clickAt(*host, 150, 80))
        GTEST_SKIP() << "xdotool cannot be run";
    ASSERT_TRUE(clickAt(*host, 105, 55));
    log.clear();
    frame->processEvents();
    EXPECT_EQ(log, (CEventLog{"press yellow 150,80", "press red 105,55"}));
}

TEST_F(X11FrameTest, ATapReachesTheViewAsAPressWithItsModifiers) {
    // The click is over before the frame handles it, as a tap shorter than the host's
    // idle period is.
    if (!PointerGesture::runAt(host->handle(), 650, 120, "keydown ctrl click 1 keyup ctrl"))
        GTEST_SKIP() << "xdotool cannot be run";
    blue->mouseReads = 2;
    frame->processEvents();
    EXPECT_EQ(blue->mouseStates, (std::vector<std::int32_t>{kMouseLeft | kKeyControl, 0}));
}

TEST_F(X11FrameTest, ClosingTheHostWindowClosesTheFrameWindow) {
    host.reset();
    frame->processEvents();
    EXPECT_FALSE(frame->isWindowOpen());
    blue->setDirty(true);
    frame->idle();
}

}  // namespace
