// An editor open inside a host window on the X server while a drag runs: what the drag
// draws reaches the screen at every host idle, and the host may close the editor there.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/gui/native/test_host_window.h"
#include "tests/gui/probe_view.h"
#include "tests/gui/test_editor.h"
#include "tests/host/pointer_gesture.h"

namespace {

constexpr CRgbColour kGreen{0, 255, 0, 0};

bool clickAt(const CHostWindow& host, int x, int y) {
    return PointerGesture::runAt(host.handle(), x, y, "click 1");
}

class X11EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* why = nullptr;
        host = openTestHost(200, 120, "x11 editor test", why);
        if (!host)
            GTEST_SKIP() << why;
        editor = new CTestEditor(&effect);
        editor->open(host->handle());
        view = new CProbeView({20, 10, 60, 50}, "view", log);
        editor->getFrame()->addView(view);
        editor->idle();
    }

    std::uint32_t shown(int x, int y) { return shownAt(*host, x, y); }

    CEventLog log;
    CTestEffect effect;  // owns and deletes the editor
    std::unique_ptr<CHostWindow> host;
    CTestEditor* editor = nullptr;
    CProbeView* view = nullptr;
};

TEST_F(X11EditorTest, WhatADragDrawsShowsAtTheHostsNextIdle) {
    ASSERT_EQ(shown(40, 30), 0xFF0000u);
    std::uint32_t seenByHost = 0;
    effect.onHostIdle = [&] { seenByHost = shown(40, 30); };
    view->onPress = [&](CDrawContext* context) {
        // The operated control draws itself at once, then the loop serves the host.
        context->setFillColour(kGreen);
        context->fillRect({19, 9, 60, 50});
        editor->runHostIdle();
    };
    if (!clickAt(*host, 40, 30))
        GTEST_SKIP() << "xdotool cannot be run";
    editor->idle();
    EXPECT_EQ(effect.hostIdles(), 1);
    EXPECT_EQ(seenByHost, 0x00FF00u);
}

TEST_F(X11EditorTest, TheHostMayCloseTheEditorInTheIdleADragGivesIt) {
    effect.onHostIdle = [this] { editor->close(); };
    view->onPress = [this](CDrawContext*) {
        editor->getFrame()->runHostIdle();
        log.push_back(view->getFrame()->isWindowOpen() ? "open" : "closed");
    };
    if (!clickAt(*host, 40, 30))
        GTEST_SKIP() << "xdotool cannot be run";
    log.clear();
    editor->idle();
    EXPECT_EQ(log, (CEventLog{"press view 40,30", "closed", "delete view"}));
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(shown(40, 30), 0xFFFFFFu) << "the host's own background";

    // Open again, the editor shows and takes presses as before.
    effect.onHostIdle = nullptr;
    editor->open(host->handle());
    editor->getFrame()->addView(new CProbeView({20, 10, 60, 50}, "again", log));
    ASSERT_TRUE(clickAt(*host, 45, 35));  // elsewhere: --sync waits for a move
    editor->idle();
    EXPECT_EQ(log.back(), "press again 45,35");
    EXPECT_EQ(shown(40, 30), 0xFF0000u);
}

}  // namespace
