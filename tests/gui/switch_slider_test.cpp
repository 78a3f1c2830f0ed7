// Gestures on the switch and the slider with the injected mouse, cursor and clock: what
// the host hears (begin-edit, automation, idle, end-edit) and what the window shows.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gui/aeff_gui_editor.h"
#include "gui/control_listener.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/soft/headless_platform.h"
#include "gui/native/soft/soft_surface.h"
#include "gui/resource_bitmap.h"
#include "gui/vertical_slider.h"
#include "gui/vertical_switch.h"
#include "plugin/audio_effect_x.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kHandle = 0xFFFF00;
constexpr int kStripId = 150;
constexpr int kTrackId = 151;
constexpr int kHandleId = 152;
constexpr int kLeft = kMouseLeft;
using Heard = std::vector<std::string>;

/// What the host heard, idles left out: "begin <tag>", automated values, "end <tag>".
Heard heard;
std::vector<std::uint32_t> idleTicks;
CHeadlessPlatform* clock = nullptr;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    std::ostringstream call;
    if (opcode == audioMasterAutomate) {
        call << opt;
    } else if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit) {
        call << (opcode == audioMasterBeginEdit ? "begin " : "end ") << index;
    } else if (opcode == audioMasterIdle) {
        idleTicks.push_back(clock->ticks());
    }
    if (!call.str().empty()) {
        heard.push_back(call.str());
    }
    return opcode == audioMasterVersion ? 2400 : 0;
}

class CTestEffect : public AudioEffectX {
  public:
    CTestEffect() : AudioEffectX(recordingHost, 1, 4) {}
    void process(float**, float**, VstInt32) override {}
};

/// Does what the editor does: automates the parameter and shows the change at once.
class CForwardingListener : public CControlListener {
  public:
    explicit CForwardingListener(AudioEffect& effect) : effect(effect) {}
    void valueChanged(CDrawContext* context, CControl* control) override {
        effect.setParameterAutomated(control->getTag(), control->getValue());
        control->redrawIfDirty(context);
        lastContext = context;
        if (afterChange) {
            afterChange();
        }
    }
    CDrawContext* lastContext = nullptr;
    std::function<void()> afterChange;

  private:
    AudioEffect& effect;
};

/// One poll of the mouse during a gesture: buttons and keys, and the cursor's window row.
struct Poll {
    int state;
    int y;
};

class SwitchSliderTest : public ::testing::Test {
  protected:
    SwitchSliderTest() {
        heard.clear();
        idleTicks.clear();
        clock = &platform;
        std::vector<std::uint32_t> strip;
        for (std::uint32_t colour : {kRed, kGreen, kBlue}) {
            strip.insert(strip.end(), 20 * 45, colour);
        }
        platform.addBitmap(kStripId, 20, 135, strip);
        platform.addBitmap(kTrackId, 20, 100, std::vector<std::uint32_t>(20 * 100, 0x808080));
        platform.addBitmap(kHandleId, 20, 10, std::vector<std::uint32_t>(20 * 10, kHandle));
        // The effect owns and deletes the editor.
        frame =
            std::make_unique<CFrame>(CRectangle{0, 0, 400, 200}, &host, new AEffGUIEditor(&effect));
        window = platform.lastWindow();
    }

    CVerticalSwitch* addSwitch(std::int32_t left, std::int32_t positions,
                               std::int32_t imageHeight) {
        auto* strip = new CResourceBitmap(kStripId);
        auto* control = new CVerticalSwitch({left, 100, left + 20, 145}, &listener, 1, positions,
                                            imageHeight, positions, strip, {0, 0});
        strip->release();
        frame->addView(control);
        return control;
    }

    /// A slider whose handle travels `range` pixels from the top of its 100-pixel track.
    CVerticalSlider* makeSlider(std::int32_t left, std::int32_t style, std::int32_t range = 90) {
        auto* track = new CResourceBitmap(kTrackId);
        auto* knob = new CResourceBitmap(kHandleId);
        auto* control = new CVerticalSlider({left, 20, left + 20, 120}, &listener, 2, 20,
                                            20 + range, knob, track, {0, 0}, style);
        track->release();
        knob->release();
        return control;
    }

    /// Presses `control` at (x, first poll's y) through a context over the window. Poll i
    /// (the press itself is poll 0) answers polls[i], the last one for ever after.
    void press(CView* control, int x, std::vector<Poll> polls) {
        polled = 0;
        auto apply = [&] {
            const Poll& now = polls[std::min(polled++, polls.size() - 1)];
            platform.setMouseState(now.state);
            const CPosition origin = window->screenOrigin();
            platform.setCursorPosition({origin.x + x, origin.y + now.y});
        };
        platform.setMousePollHook(apply);
        CSurface* surface = window->acquireSurface();
        {
            CDrawContext context(frame.get(), surface, window);
            control->mouseDown(&context, {x, polls[0].y});
        }
        if (surface) {
            window->releaseSurface(surface);
        }
        platform.setMousePollHook(nullptr);
    }

    /// The handle's top edge inside a slider at `left`, or -1 when none is shown.
    int handleTop(int left) const {
        for (int y = 20; y < 120; ++y) {
            if (window->pixel(left + 10, y) == kHandle) {
                return y - 20;
            }
        }
        return -1;
    }

    CHeadlessPlatform platform;
    int host = 0;
    CTestEffect effect;
    CForwardingListener listener{effect};
    std::unique_ptr<CFrame> frame;
    CHeadlessWindow* window = nullptr;
    std::size_t polled = 0;
};

TEST_F(SwitchSliderTest, SwitchSelectsTheZoneUnderTheCursor) {
    CVerticalSwitch* mode = addSwitch(200, 3, 45);
    CVerticalSwitch* single = addSwitch(240, 1, 45);
    CVerticalSwitch* flat = addSwitch(280, 3, 0);
    window->paintAll();
    EXPECT_EQ(window->pixel(210, 120), kRed);
    std::vector<std::uint32_t> shown;
    listener.afterChange = [&] { shown.push_back(window->pixel(210, 120)); };

    // Zone 1 of 3 (15 pixels each), then a drag into zone 2; letting go ends it.
    press(mode, 210, {{kLeft, 120}, {kLeft, 120}, {kLeft, 140}, {kLeft, 140}, {0, 140}});
    EXPECT_EQ(heard, (Heard{"begin 1", "0.5", "1", "end 1"}));
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{kGreen, kBlue}));

    // Ctrl + left click: the default, without an edit bracket.
    heard.clear();
    press(mode, 210, {{kLeft | kKeyControl, 140}});
    EXPECT_EQ(heard, (Heard{"0"}));
    EXPECT_EQ(window->pixel(210, 120), kRed);

    // A tap: the button is up again before the loop first looks.
    heard.clear();
    press(mode, 210, {{kLeft, 120}, {0, 120}});
    EXPECT_EQ(heard, (Heard{"begin 1", "0.5", "end 1"}));
    EXPECT_EQ(window->pixel(210, 120), kGreen);

    // One position has nowhere to go; a strip without height divides the switch itself.
    single->setValue(0.7f);
    press(single, 250, {{kLeft, 140}, {0, 140}});
    EXPECT_EQ(single->getValue(), 0.0f);
    press(flat, 290, {{kLeft, 120}, {0, 120}});
    EXPECT_EQ(flat->getValue(), 0.5f);
}

TEST_F(SwitchSliderTest, SliderFollowsDragShiftCtrlTapAndArrowKeys) {
    CVerticalSlider* delay = makeSlider(300, kSliderFromRight);
    frame->addView(delay);
    window->paintAll();
    EXPECT_EQ(handleTop(300), 90);  // 0.0 at the bottom
    std::vector<int> tops;
    listener.afterChange = [&] { tops.push_back(handleTop(300)); };

    // Pressed at the middle, dragged to the top, then to the bottom; 40 polls at each.
    std::vector<Poll> drag{{kLeft, 69}};
    drag.insert(drag.end(), 40, {kLeft, 24});
    drag.insert(drag.end(), 40, {kLeft, 114});
    drag.push_back({0, 114});
    press(delay, 310, drag);
    EXPECT_EQ(heard, (Heard{"begin 2", "0.5", "1", "0", "end 2"}));
    EXPECT_EQ(tops, (std::vector<int>{45, 0, 90}));
    ASSERT_GE(idleTicks.size(), 4u);
    for (std::size_t i = 1; i < idleTicks.size(); ++i) {
        EXPECT_NEAR(idleTicks[i] - idleTicks[i - 1], 50.0, 6.0);
    }

    // Shift: a tenth of the way from 0.5 towards the top; a zoom factor of 0 means none.
    const std::vector<Poll> fine{
        {kLeft, 69}, {kLeft, 69}, {kLeft | kKeyShift, 24}, {kLeft | kKeyShift, 24}, {0, 24}};
    press(delay, 310, fine);
    EXPECT_FLOAT_EQ(delay->getValue(), 0.55f);
    delay->setZoomFactor(0.0f);
    press(delay, 310, fine);
    EXPECT_EQ(delay->getValue(), 1.0f);

    // Ctrl + left click: the default 0.5, without an edit bracket. A tap moves the handle.
    heard.clear();
    press(delay, 310, {{kLeft | kKeyControl, 24}});
    EXPECT_EQ(heard, (Heard{"0.5"}));
    press(delay, 310, {{kLeft, 24}, {0, 24}});
    EXPECT_EQ(delay->getValue(), 1.0f);

    // The drags gave the slider the focus: arrow keys step it. Without a context to draw
    // with, the next idle shows the change.
    delay->setValue(0.85f);
    frame->idle();
    heard.clear();
    VstKeyCode up{0, VKEY_UP, 0};
    VstKeyCode shiftDown{0, VKEY_DOWN, MODIFIER_SHIFT};
    VstKeyCode escape{0, VKEY_ESCAPE, 0};
    EXPECT_EQ(frame->keyDown(up) + frame->keyDown(up), 2);
    EXPECT_EQ(listener.lastContext, nullptr);
    EXPECT_TRUE(delay->isDirty());
    frame->idle();
    EXPECT_EQ(handleTop(300), 0);
    EXPECT_EQ(frame->keyDown(up), 1);  // stays at 1.0: nothing to report
    EXPECT_EQ(frame->keyDown(shiftDown), 1);
    EXPECT_EQ(frame->keyDown(escape), -1);
    EXPECT_EQ(heard, (Heard{"0.95", "1", "0.99"}));
}

TEST_F(SwitchSliderTest, DegenerateSlidersAndDestroyedWindowsEndSafely) {
    // No direction bit: the minimum at the bottom, for drawing and mouse alike.
    CVerticalSlider* plain = makeSlider(20, 0);
    CVerticalSlider* stuck = makeSlider(60, kSliderFromRight, 0);
    CVerticalSlider* loose = makeSlider(140, kSliderFromRight);
    frame->addView(plain);
    frame->addView(stuck);
    window->paintAll();
    press(plain, 30, {{kLeft, 24}, {0, 24}});
    EXPECT_EQ(plain->getValue(), 1.0f);
    EXPECT_EQ(handleTop(20), 0);

    // No travel: a press changes nothing and brackets nothing. Nor does a press beside the
    // handle without free click.
    heard.clear();
    press(stuck, 70, {{kLeft, 24}, {kLeft, 90}, {0, 90}});
    plain->setFreeClick(false);
    press(plain, 30, {{kLeft, 80}, {kLeft, 24}, {0, 24}});
    EXPECT_TRUE(heard.empty());
    plain->setFreeClick(true);

    // Not attached: no offscreen, nothing drawn, still dirty.
    CSoftSurface untouched(400, 200);
    CDrawContext context(nullptr, &untouched, nullptr);
    loose->draw(&context);
    EXPECT_EQ(untouched.pixel(150, 100), 0u);
    EXPECT_TRUE(loose->isDirty());
    loose->release();

    // The window goes away during a drag whose button never comes up.
    listener.afterChange = [&] { window->destroy(); };
    std::vector<Poll> held(1000, {kLeft, 30});
    held.push_back({0, 30});  // only reached if the loop ignored the destroyed window
    press(plain, 30, held);
    EXPECT_LT(polled, 5u);
    EXPECT_EQ(heard.back(), "end 2");

    // The host closes the editor during a drag: frame and slider go, and the loop ends
    // without touching either (AddressSanitizer checks).
    CVerticalSlider* doomed = makeSlider(100, kSliderFromRight);
    frame->addView(doomed);
    listener.afterChange = [&] { frame.reset(); };
    press(doomed, 110, held);
    EXPECT_LT(polled, 5u);
}

}  // namespace
