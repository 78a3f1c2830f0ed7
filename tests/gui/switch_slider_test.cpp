// Gestures on the switch and the slider with the injected mouse, cursor and clock: what
// the host hears (begin-edit, automation, idle, end-edit) and what the window shows.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
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

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    float value;
    std::uint32_t ticks;
};
std::vector<HostCall> hostCalls;
CHeadlessPlatform* clock = nullptr;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    if (opcode != audioMasterVersion) {
        hostCalls.push_back({opcode, index, opt, clock ? clock->ticks() : 0});
    }
    return opcode == audioMasterVersion ? 2400 : 0;
}

class CTestEffect : public AudioEffectX {
  public:
    CTestEffect() : AudioEffectX(recordingHost, 1, 4) {}
    void process(float**, float**, VstInt32) override {}
};

class CTestEditor : public AEffGUIEditor {
  public:
    explicit CTestEditor(AudioEffect* effect) : AEffGUIEditor(effect) { rect = {0, 0, 200, 400}; }
    VstInt32 open(void* parent) override {
        AEffGUIEditor::open(parent);
        frame = new CFrame({0, 0, rect.right, rect.bottom}, parent, this);
        return 1;
    }
    void close() override {
        delete frame;
        frame = nullptr;
    }
};

/// Does what the editor does: automates the parameter and shows the change at once.
class CForwardingListener : public CControlListener {
  public:
    explicit CForwardingListener(AudioEffect& effect) : effect(effect) {}
    void valueChanged(CDrawContext* context, CControl* control) override {
        effect.setParameterAutomated(control->getTag(), control->getValue());
        control->redrawIfDirty(context);
        contexts.push_back(context);
        if (afterChange) {
            afterChange();
        }
    }
    std::vector<CDrawContext*> contexts;
    std::function<void()> afterChange;

  private:
    AudioEffect& effect;
};

/// One poll of the mouse during a gesture: buttons and keys, and the cursor in window
/// coordinates.
struct Poll {
    int state;
    int y;
};

class SwitchSliderTest : public ::testing::Test {
  protected:
    SwitchSliderTest() {
        hostCalls.clear();
        clock = &platform;
        std::vector<std::uint32_t> strip;
        for (std::uint32_t colour : {kRed, kGreen, kBlue}) {
            strip.insert(strip.end(), 20 * 45, colour);
        }
        platform.addBitmap(kStripId, 20, 135, strip);
        platform.addBitmap(kTrackId, 20, 100, std::vector<std::uint32_t>(20 * 100, 0x808080));
        platform.addBitmap(kHandleId, 20, 10, std::vector<std::uint32_t>(20 * 10, kHandle));
        editor = new CTestEditor(&effect);
        editor->open(&host);
        frame = editor->getFrame();
        window = platform.lastWindow();
    }
    ~SwitchSliderTest() override { clock = nullptr; }

    CVerticalSwitch* addSwitch(const CRectangle& bounds, std::int32_t positions,
                               std::int32_t imageHeight) {
        auto* strip = new CResourceBitmap(kStripId);
        auto* control = new CVerticalSwitch(bounds, &listener, 1, positions, imageHeight, positions,
                                            strip, {0, 0});
        strip->release();
        frame->addView(control);
        return control;
    }

    /// A slider whose handle travels 90 pixels from the top of its 100-pixel track.
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
        std::size_t next = 0;
        auto apply = [&] {
            const Poll& now = polls[std::min(next++, polls.size() - 1)];
            platform.setMouseState(now.state);
            const CPosition origin = window->screenOrigin();
            platform.setCursorPosition({origin.x + x, origin.y + now.y});
        };
        apply();
        next = 0;
        platform.setMousePollHook(apply);
        CSurface* surface = window->acquireSurface();
        {
            CDrawContext context(frame, surface, window);
            control->mouseDown(&context, {x, polls[0].y});
        }
        window->releaseSurface(surface);
        platform.setMousePollHook(nullptr);
        polled = next;
    }

    /// Opcodes the host heard, idles left out.
    std::vector<VstInt32> edits() const {
        std::vector<VstInt32> opcodes;
        for (const HostCall& call : hostCalls) {
            if (call.opcode != audioMasterIdle) {
                opcodes.push_back(call.opcode);
            }
        }
        return opcodes;
    }

    std::vector<float> automated() const {
        std::vector<float> values;
        for (const HostCall& call : hostCalls) {
            if (call.opcode == audioMasterAutomate) {
                values.push_back(call.value);
            }
        }
        return values;
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
    CTestEffect effect;  // owns and deletes the editor
    CForwardingListener listener{effect};
    CTestEditor* editor = nullptr;
    CFrame* frame = nullptr;
    CHeadlessWindow* window = nullptr;
    std::size_t polled = 0;
};

constexpr VstInt32 kBegin = audioMasterBeginEdit;
constexpr VstInt32 kEnd = audioMasterEndEdit;
constexpr VstInt32 kAutomate = audioMasterAutomate;
constexpr int kLeft = kMouseLeft;

TEST_F(SwitchSliderTest, SwitchSelectsTheZoneUnderTheCursor) {
    CVerticalSwitch* mode = addSwitch({200, 100, 220, 145}, 3, 45);
    CVerticalSwitch* single = addSwitch({240, 100, 260, 145}, 1, 45);
    CVerticalSwitch* flat = addSwitch({280, 100, 300, 145}, 3, 0);
    window->paintAll();
    EXPECT_EQ(window->pixel(210, 120), kRed);
    std::vector<std::uint32_t> shown;
    listener.afterChange = [&] { shown.push_back(window->pixel(210, 120)); };

    // Zone 1 of 3 (15 pixels each), then a drag into zone 2; letting go ends it.
    press(mode, 210, {{kLeft, 120}, {kLeft, 120}, {kLeft, 140}, {kLeft, 140}, {0, 140}});
    EXPECT_EQ(automated(), (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{kGreen, kBlue}));
    EXPECT_EQ(edits(), (std::vector<VstInt32>{kBegin, kAutomate, kAutomate, kEnd}));
    EXPECT_EQ(hostCalls.front().index, 1);

    // Ctrl + left click: the default, without an edit bracket.
    hostCalls.clear();
    press(mode, 210, {{kLeft | kKeyControl, 140}});
    EXPECT_EQ(mode->getValue(), 0.0f);
    EXPECT_EQ(edits(), (std::vector<VstInt32>{kAutomate}));
    EXPECT_EQ(window->pixel(210, 120), kRed);

    // A tap: the button is up again before the loop first looks.
    hostCalls.clear();
    press(mode, 210, {{kLeft, 120}, {0, 120}});
    EXPECT_EQ(mode->getValue(), 0.5f);
    EXPECT_EQ(edits(), (std::vector<VstInt32>{kBegin, kAutomate, kEnd}));
    EXPECT_EQ(window->pixel(210, 120), kGreen);

    // One position has nowhere to go; a strip without height divides the switch itself.
    single->setValue(0.7f);
    press(single, 250, {{kLeft, 140}, {0, 140}});
    EXPECT_EQ(single->getValue(), 0.0f);
    press(flat, 290, {{kLeft, 120}, {0, 120}});
    EXPECT_EQ(flat->getValue(), 0.5f);
}

TEST_F(SwitchSliderTest, SliderDragFollowsTheHandleAndServesTheHost) {
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
    EXPECT_EQ(automated(), (std::vector<float>{0.5f, 1.0f, 0.0f}));
    EXPECT_EQ(tops, (std::vector<int>{45, 0, 90}));
    ASSERT_GE(hostCalls.size(), 5u);
    EXPECT_EQ(hostCalls.front().opcode, kBegin);
    EXPECT_EQ(hostCalls.back().opcode, kEnd);
    EXPECT_EQ(hostCalls.back().index, 2);
    std::vector<std::uint32_t> idles;
    for (const HostCall& call : hostCalls) {
        if (call.opcode == audioMasterIdle) {
            idles.push_back(call.ticks);
        }
    }
    ASSERT_GE(idles.size(), 4u);
    for (std::size_t i = 1; i < idles.size(); ++i) {
        EXPECT_NEAR(idles[i] - idles[i - 1], 50.0, 6.0);
    }

    // Shift: a tenth of the way from 0.5 towards the top.
    press(delay, 310,
          {{kLeft, 69}, {kLeft, 69}, {kLeft | kKeyShift, 24}, {kLeft | kKeyShift, 24}, {0, 24}});
    EXPECT_FLOAT_EQ(delay->getValue(), 0.55f);

    // Ctrl + left click: the default 0.5, without an edit bracket.
    hostCalls.clear();
    press(delay, 310, {{kLeft | kKeyControl, 24}});
    EXPECT_EQ(delay->getValue(), 0.5f);
    EXPECT_EQ(edits(), (std::vector<VstInt32>{kAutomate}));

    // A tap moves the handle to the tap point.
    press(delay, 310, {{kLeft, 24}, {0, 24}});
    EXPECT_EQ(delay->getValue(), 1.0f);
}

TEST_F(SwitchSliderTest, ArrowKeysStepTheFocusedSliderAndIdleShowsIt) {
    CVerticalSlider* delay = makeSlider(300, kSliderFromRight);
    frame->addView(delay);
    window->paintAll();
    press(delay, 310, {{kLeft, 69}, {0, 69}});  // a drag gives the slider the focus
    delay->setValue(0.95f);
    frame->idle();
    hostCalls.clear();
    listener.contexts.clear();

    VstKeyCode up{0, VKEY_UP, 0};
    VstKeyCode shiftDown{0, VKEY_DOWN, MODIFIER_SHIFT};
    VstKeyCode other{0, VKEY_ESCAPE, 0};
    EXPECT_EQ(editor->keyDown(up), 1);
    EXPECT_EQ(delay->getValue(), 1.0f);
    EXPECT_EQ(listener.contexts, (std::vector<CDrawContext*>{nullptr}));
    EXPECT_TRUE(delay->isDirty());  // no context to draw with: the next idle does
    frame->idle();
    EXPECT_EQ(handleTop(300), 0);
    EXPECT_EQ(editor->keyDown(up), 1);  // stops at 1.0, and nothing changed to report
    EXPECT_EQ(editor->keyDown(shiftDown), 1);
    EXPECT_FLOAT_EQ(delay->getValue(), 0.99f);
    EXPECT_EQ(editor->keyDown(other), -1);
    EXPECT_EQ(edits(), (std::vector<VstInt32>{kAutomate, kAutomate}));
}

TEST_F(SwitchSliderTest, DragEndsWhenTheWindowIsDestroyedUnderIt) {
    CVerticalSlider* delay = makeSlider(300, kSliderFromRight);
    frame->addView(delay);
    window->paintAll();
    int polls = 0;
    listener.afterChange = [&] {
        if (++polls == 2) {
            window->destroy();
        }
    };
    std::vector<Poll> held{{kLeft, 69}, {kLeft, 60}, {kLeft, 50}, {kLeft, 40}};
    held.insert(held.end(), 1000, {kLeft, 30});
    held.push_back({0, 30});  // only reached if the loop ignored the destroyed window
    press(delay, 310, held);
    EXPECT_LT(polled, 10u);
    EXPECT_EQ(hostCalls.back().opcode, kEnd);
}

TEST_F(SwitchSliderTest, DegenerateSlidersNeverDivideByZeroNorDrawWithoutAContext) {
    // No direction bit: the minimum at the bottom, for drawing and mouse alike.
    CVerticalSlider* plain = makeSlider(20, 0);
    CVerticalSlider* stuck = makeSlider(60, kSliderFromRight, 0);
    CVerticalSlider* coarse = makeSlider(100, kSliderFromRight);
    CVerticalSlider* loose = makeSlider(140, kSliderFromRight);
    for (CVerticalSlider* slider : {plain, stuck, coarse}) {
        frame->addView(slider);
    }
    window->paintAll();
    press(plain, 30, {{kLeft, 24}, {0, 24}});
    EXPECT_EQ(plain->getValue(), 1.0f);
    EXPECT_EQ(handleTop(20), 0);

    // No travel: a press changes nothing and brackets nothing.
    hostCalls.clear();
    stuck->setValue(0.3f);
    press(stuck, 70, {{kLeft, 24}, {kLeft, 90}, {0, 90}});
    EXPECT_EQ(stuck->getValue(), 0.3f);
    EXPECT_TRUE(hostCalls.empty());

    // Zoom factor 0: Shift moves as without it.
    coarse->setZoomFactor(0.0f);
    press(coarse, 110,
          {{kLeft | kKeyShift, 69}, {kLeft | kKeyShift, 24}, {kLeft | kKeyShift, 24}, {0, 24}});
    EXPECT_EQ(coarse->getValue(), 1.0f);

    // Not attached: no offscreen, nothing drawn, still dirty. No context: still dirty.
    CSoftSurface untouched(400, 200);
    CDrawContext context(nullptr, &untouched, nullptr);
    loose->draw(&context);
    EXPECT_EQ(untouched.pixel(150, 100), 0u);
    EXPECT_TRUE(loose->isDirty());
    coarse->setValue(0.2f);
    coarse->redrawIfDirty(nullptr);
    EXPECT_TRUE(coarse->isDirty());
    loose->release();
}

}  // namespace
