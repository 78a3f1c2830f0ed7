#include "gui/frame.h"

#include <gtest/gtest.h>

#include <memory>

#include "gui/native/soft/headless_platform.h"
#include "gui/resource_bitmap.h"
#include "tests/gui/probe_view.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr CRgbColour kGreenColour{0, 255, 0, 0};
constexpr CRgbColour kBlueColour{0, 0, 255, 0};

class FrameTest : public ::testing::Test {
  protected:
    FrameTest() : frame(std::make_unique<CFrame>(CRectangle{0, 0, 100, 60}, &host, nullptr)) {
        window = platform.lastWindow();
    }

    CProbeView* add(const CRectangle& bounds, const char* name, CRgbColour colour = kColourRed) {
        auto* view = new CProbeView(bounds, name, log, colour);
        frame->addView(view);
        return view;
    }

    CHeadlessPlatform platform;
    int host = 0;
    CEventLog log;
    std::unique_ptr<CFrame> frame;
    CHeadlessWindow* window = nullptr;
};

TEST_F(FrameTest, IdleDrawsNothingBeforeTheFirstPaint) {
    add({10, 10, 20, 20}, "a")->setDirty(true);
    frame->idle();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window->surfaceAcquisitions(), 0);

    window->paint({0, 0, 5, 5});  // does not reach the child, but ends the waiting
    EXPECT_TRUE(log.empty());
    frame->idle();
    EXPECT_EQ(log, CEventLog{"draw a"});
    EXPECT_EQ(window->pixel(10, 10), kRed);
    EXPECT_EQ(window->pixel(20, 20), 0u);
    EXPECT_EQ(window->surfacesInUse(), 0);
}

TEST_F(FrameTest, IdleDrawsOnlyDirtyChildrenInListOrder) {
    CProbeView* a = add({0, 0, 30, 30}, "a");
    CProbeView* b = add({10, 10, 40, 40}, "b", kGreenColour);
    CProbeView* c = add({20, 20, 50, 50}, "c", kBlueColour);
    window->paintAll();
    EXPECT_EQ(log, (CEventLog{"draw a", "draw b", "draw c"}));
    log.clear();

    c->setDirty(true);
    a->setDirty(true);
    frame->idle();
    EXPECT_EQ(log, (CEventLog{"draw a", "draw c"}));
    EXPECT_FALSE(a->isDirty() || b->isDirty() || c->isDirty());
    EXPECT_EQ(window->pixel(15, 15), kRed);  // a was drawn over b's corner
    EXPECT_EQ(window->pixel(25, 25), kBlue);

    log.clear();
    const int acquisitions = window->surfaceAcquisitions();
    frame->idle();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window->surfaceAcquisitions(), acquisitions);
}

TEST_F(FrameTest, DrawWindowDrawsOneChildOrTheWholeFrame) {
    CProbeView* a = add({0, 0, 10, 10}, "a");
    add({0, 0, 10, 10}, "b");
    CProbeView stranger({0, 0, 10, 10}, "stranger", log);
    frame->drawWindow(a);
    EXPECT_TRUE(frame->isFirstDrawPending());
    frame->drawWindow(&stranger);
    EXPECT_FALSE(frame->isFirstDrawPending());
    EXPECT_EQ(log, (CEventLog{"draw a", "draw a", "draw b"}));
    EXPECT_EQ(window->surfacesInUse(), 0);
}

TEST_F(FrameTest, PaintRepairsTheDamagedAreaFromTheBackground) {
    std::vector<std::uint32_t> pixels(100 * 60);
    for (int i = 0; i < 100 * 60; ++i) {
        pixels[i] = static_cast<std::uint32_t>(i);
    }
    platform.addBitmap(500, 100, 60, pixels);
    auto* background = new CResourceBitmap(500);
    frame->setBackground(background);
    background->release();
    frame->setBackground(background);  // the one reference it holds must survive this
    EXPECT_EQ(background->retainCount(), 1);
    add({60, 40, 70, 50}, "outside");
    add({15, 15, 25, 25}, "inside", kGreenColour);

    window->paint({10, 10, 30, 30});
    EXPECT_EQ(log, CEventLog{"draw inside"});
    EXPECT_EQ(window->pixel(10, 10), 10u * 100 + 10);
    EXPECT_EQ(window->pixel(29, 12), 12u * 100 + 29);
    EXPECT_EQ(window->pixel(30, 12), 0u);
    EXPECT_EQ(window->pixel(20, 20), kGreen);

    frame.reset();
    EXPECT_EQ(platform.liveBitmaps(), 0);
}

TEST_F(FrameTest, ModalViewIsDrawnLastAndTakesEveryPress) {
    CProbeView* child = add({0, 0, 50, 50}, "child");
    CProbeView modal({20, 20, 30, 30}, "modal", log, kBlueColour);
    ASSERT_TRUE(frame->setModalView(&modal));
    EXPECT_FALSE(frame->setModalView(child));
    window->paintAll();
    EXPECT_EQ(log, (CEventLog{"draw child", "draw modal"}));
    EXPECT_EQ(window->pixel(25, 25), kBlue);
    log.clear();

    child->setDirty(true);
    modal.setDirty(true);
    frame->idle();
    EXPECT_EQ(log, CEventLog{"draw modal"});
    log.clear();

    window->press({5, 5});
    EXPECT_TRUE(log.empty());
    window->press({30, 30});
    EXPECT_EQ(log, CEventLog{"press modal 30,30"});
    EXPECT_TRUE(frame->setModalView(nullptr));
}

TEST_F(FrameTest, PressesHitEdgesAndTheLaterOfOverlappingChildren) {
    add({10, 10, 30, 30}, "lower");
    CProbeView* upper = add({20, 20, 40, 40}, "upper");
    window->press({30, 30});
    window->press({40, 40});
    window->press({41, 40});
    window->press({10, 30});
    upper->setMouseEnabled(false);
    window->press({25, 25});
    frame->mouseDown(nullptr, {11, 11});  // a context is made for the view
    EXPECT_EQ(log, (CEventLog{"press upper 30,30", "press upper 40,40", "press lower 10,30",
                              "press lower 25,25", "press lower 11,11"}));
    EXPECT_FALSE(frame->addView(upper));
    EXPECT_EQ(frame->viewCount(), 2);

    window->destroy();
    frame->mouseDown(nullptr, {11, 11});
    EXPECT_EQ(log.size(), 5u);
}

TEST_F(FrameTest, APressCarriesItsStateToThePressedViewsFirstRead) {
    CProbeView* view = add({0, 0, 50, 50}, "view");
    view->mouseReads = 2;
    // A tap: the button is up again before the view reads the mouse.
    window->press({5, 5}, kMouseLeft | kKeyControl);
    EXPECT_EQ(view->mouseStates, (std::vector<std::int32_t>{kMouseLeft | kKeyControl, 0}));

    // An event without a state leaves every read to the live poll.
    view->mouseStates.clear();
    platform.setMouseState(kMouseRight);
    window->press({5, 5});
    EXPECT_EQ(view->mouseStates, (std::vector<std::int32_t>{kMouseRight, kMouseRight}));
}

TEST_F(FrameTest, ChildListAndReferenceCounts) {
    CProbeView* a = add({0, 0, 10, 10}, "a");
    CProbeView* b = add({0, 0, 10, 10}, "b");
    CProbeView* kept = add({0, 0, 10, 10}, "kept");
    kept->retain();
    EXPECT_EQ(frame->viewCount(), 3);
    EXPECT_EQ(frame->viewAt(0), a);
    EXPECT_EQ(frame->viewAt(-1), nullptr);
    EXPECT_EQ(frame->viewAt(3), nullptr);

    CProbeView stranger({0, 0, 1, 1}, "stranger", log);
    EXPECT_TRUE(frame->removeView(&stranger, true));
    EXPECT_EQ(frame->viewCount(), 3);
    EXPECT_EQ(stranger.retainCount(), 1);

    EXPECT_TRUE(frame->removeView(a, false));
    EXPECT_EQ(frame->viewAt(0), b);
    EXPECT_EQ(a->retainCount(), 1);
    EXPECT_EQ(a->getFrame(), nullptr);
    a->release();

    frame.reset();
    EXPECT_EQ(log, (CEventLog{"delete a", "delete b"}));
    EXPECT_EQ(kept->retainCount(), 1);
    EXPECT_EQ(kept->getFrame(), nullptr);
    kept->release();
}

TEST_F(FrameTest, KeysGoToFocusThenModalThenChildrenFromTheTop) {
    CProbeView* a = add({0, 0, 10, 10}, "a");
    add({0, 0, 10, 10}, "b");
    CProbeView focus({0, 0, 1, 1}, "focus", log);
    CProbeView modal({0, 0, 1, 1}, "modal", log);
    frame->setFocusView(&focus);
    frame->setModalView(&modal);
    VstKeyCode key{'x', 0, 0};

    a->keyAnswer = 'x';
    EXPECT_EQ(frame->keyDown(key), 1);
    EXPECT_EQ(log, (CEventLog{"key focus", "key modal", "key b", "key a"}));
    log.clear();

    modal.keyAnswer = 'x';
    EXPECT_EQ(frame->keyDown(key), 1);
    EXPECT_EQ(log, (CEventLog{"key focus", "key modal"}));
    log.clear();

    key.character = 'y';
    EXPECT_EQ(frame->keyDown(key), -1);
    frame->setModalView(nullptr);
    frame->setFocusView(nullptr);
    EXPECT_EQ(log.back(), "lose focus");
}

TEST_F(FrameTest, DeletedViewsLeaveNoDanglingFocusOrModalView) {
    CProbeView* focus = add({0, 0, 10, 10}, "focus");
    frame->setFocusView(focus);
    frame->setFocusView(focus);  // the same view keeps its focus
    auto* modal = new CProbeView({0, 0, 10, 10}, "modal", log);
    frame->addView(modal);
    frame->setModalView(modal);
    EXPECT_EQ(log, CEventLog{});

    focus->release();
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(frame->viewCount(), 1);
    frame->removeView(modal, true);
    EXPECT_EQ(frame->getModalView(), nullptr);
    window->press({5, 5});
    VstKeyCode key{'x', 0, 0};
    EXPECT_EQ(frame->keyDown(key), -1);
}

TEST_F(FrameTest, WindowClassIsCountedAcrossFrames) {
    EXPECT_EQ(platform.classRegistrations(), 1);
    EXPECT_TRUE(window->isDropActive());
    auto second = std::make_unique<CFrame>(CRectangle{0, 0, 10, 10}, &host, nullptr);
    EXPECT_EQ(platform.classRegistrations(), 1);
    EXPECT_EQ(platform.classUseCount(), 2);
    frame.reset();
    EXPECT_EQ(platform.classUnregistrations(), 0);
    second.reset();
    EXPECT_EQ(platform.classUnregistrations(), 1);
    EXPECT_EQ(platform.framesCreated(), 2);
    EXPECT_EQ(platform.framesDestroyed(), 2);

    CFrame windowless({0, 0, 10, 10}, nullptr, nullptr);
    EXPECT_EQ(platform.classUseCount(), 0);
    EXPECT_FALSE(windowless.setDropActive(true));
}

TEST_F(FrameTest, AFrameWhoseWindowDiedDrawsNothing) {
    CProbeView* a = add({0, 0, 10, 10}, "a");
    window->paintAll();
    frame->setCursor(3);
    EXPECT_EQ(window->cursorType(), 3);
    log.clear();

    window->destroy();
    EXPECT_FALSE(frame->isWindowOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    a->setDirty(true);
    frame->idle();
    frame->drawWindow(nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window->surfaceAcquisitions(), 0);
    EXPECT_FALSE(frame->setDropActive(true));
}

TEST_F(FrameTest, ViewUnderCursorAndCursorPositionUseWindowCoordinates) {
    window->moveTo({200, 100});
    add({0, 0, 20, 20}, "a");
    CProbeView* b = add({10, 10, 30, 30}, "b");
    platform.setCursorPosition({220, 120});
    CPosition where;
    frame->getCursorPosition(where);
    EXPECT_EQ(where.x, 20);
    EXPECT_EQ(where.y, 20);
    EXPECT_EQ(frame->getViewUnderCursor(), b);
    platform.setCursorPosition({231, 100});
    EXPECT_EQ(frame->getViewUnderCursor(), nullptr);
}

}  // namespace
