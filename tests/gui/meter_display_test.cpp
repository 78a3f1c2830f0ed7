// The passive controls drawn through a real frame on the headless window: the meter's
// bar snaps to whole LEDs and falls step by step, the read-out shows its text, and idle
// draws only what is dirty.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/soft/headless_platform.h"
#include "gui/native/soft/soft_surface.h"
#include "gui/param_display.h"
#include "gui/resource_bitmap.h"
#include "gui/vu_meter.h"

namespace {

constexpr std::uint32_t kOn = 0x00C000;
constexpr std::uint32_t kOff = 0x202020;
constexpr int kOnId = 140;
constexpr int kOffId = 141;
constexpr CRgbColour kNavy{0, 0, 128, 0};

class MeterDisplayTest : public ::testing::Test {
  protected:
    MeterDisplayTest() {
        // Wide enough for the bar, tall enough for the upright meter.
        platform.addBitmap(kOnId, 604, 40, std::vector<std::uint32_t>(604 * 40, kOn));
        platform.addBitmap(kOffId, 604, 40, std::vector<std::uint32_t>(604 * 40, kOff));
        frame = std::make_unique<CFrame>(CRectangle{0, 0, 700, 100}, &host, nullptr);
        window = platform.lastWindow();
    }

    /// A meter from the test bitmaps; the frame owns it.
    CVuMeter* addMeter(const CRectangle& bounds, std::int32_t leds, std::int32_t style) {
        auto* on = new CResourceBitmap(kOnId);
        auto* off = new CResourceBitmap(kOffId);
        auto* meter = new CVuMeter(bounds, on, off, leds, style);
        on->release();
        off->release();
        frame->addView(meter);
        return meter;
    }

    /// Lit pixels from the left end of the bar on row `y`.
    int barLength(int left, int y) const {
        int x = left;
        while (window->pixel(x, y) == kOn) {
            ++x;
        }
        return x - left;
    }

    /// Idles until `view` is clean; answers how many idles drew.
    int idleUntilClean(CView* view) {
        int draws = 0;
        while (view->isDirty() && draws < 100) {
            frame->idle();
            ++draws;
        }
        return draws;
    }

    CHeadlessPlatform platform;
    int host = 0;
    std::unique_ptr<CFrame> frame;
    CHeadlessWindow* window = nullptr;
};

TEST_F(MeterDisplayTest, MeterSnapsToLedsAndFallsOneStepPerIdle) {
    CVuMeter* meter = addMeter({20, 10, 624, 14}, 40, kSliderHorizontal);
    CVuMeter* empty = addMeter({20, 20, 624, 24}, 0, kSliderHorizontal);
    CVuMeter* upright = addMeter({650, 20, 654, 60}, 10, kSliderVertical);
    meter->setDecreaseStep(100.0f);
    upright->setDecreaseStep(100.0f);
    EXPECT_TRUE(meter->isDirty());  // new controls start dirty
    window->paintAll();
    EXPECT_EQ(barLength(20, 11), 0);
    EXPECT_EQ(window->pixel(20, 11), kOff);
    EXPECT_FALSE(meter->isDirty());

    meter->setValue(0.5f);
    upright->setValue(0.5f);
    frame->idle();
    EXPECT_EQ(barLength(20, 11), 302);
    EXPECT_EQ(window->pixel(322, 11), kOff);
    EXPECT_EQ(window->pixel(651, 39), kOff);  // the upper half of the upright bar is dark
    EXPECT_EQ(window->pixel(651, 40), kOn);

    meter->setValue(0.51f);  // 20.9 LEDs: the same bar
    frame->idle();
    EXPECT_EQ(barLength(20, 11), 302);
    const int acquisitions = window->surfaceAcquisitions();
    frame->idle();  // nothing dirty: the window is not even touched
    EXPECT_EQ(window->surfaceAcquisitions(), acquisitions);

    // Without LEDs nothing is drawn, and the meter does not stay dirty for ever.
    EXPECT_EQ(window->pixel(20, 21), 0u);
    EXPECT_FALSE(empty->isDirty());

    meter->setDecreaseStep(0.1f);
    meter->setValue(1.0f);
    frame->idle();
    EXPECT_EQ(barLength(20, 11), 604);
    meter->setValue(0.0f);
    frame->idle();
    EXPECT_EQ(barLength(20, 11), 543);  // 0.9: 36 LEDs
    EXPECT_NEAR(1 + idleUntilClean(meter), 10, 1);
    EXPECT_EQ(barLength(20, 11), 0);

    meter->setDecreaseStep(100.0f);
    meter->setValue(1.0f);
    frame->idle();
    meter->setValue(0.0f);
    EXPECT_EQ(idleUntilClean(meter), 1);
    EXPECT_EQ(barLength(20, 11), 0);

    // A level that is not a number (a host's bad value) shows as the minimum.
    meter->setValue(1.0f);
    frame->idle();
    meter->setValue(std::nanf(""));
    EXPECT_EQ(idleUntilClean(meter), 1);
    EXPECT_EQ(barLength(20, 11), 0);
}

void asHundreds(float value, char* text, void* data) {
    std::snprintf(text, CParamDisplay::kTextSize, "%d%s", static_cast<int>(value * 300.0f),
                  static_cast<const char*>(data));
}

/// Plays the audio thread: a new value arrives while the display draws the old one.
void changedMeanwhile(float value, char* text, void* display) {
    if (value == 0.5f) {
        static_cast<CParamDisplay*>(display)->setValue(0.75f);
    }
    text[0] = '\0';
}

void unterminated(float, char* text) {
    std::memset(text, 'x', CParamDisplay::kTextSize);
}

TEST_F(MeterDisplayTest, DisplayShowsItsTextAndNoDrawDisplaysNeverDraw) {
    const CRectangle plainBox{20, 40, 100, 60};
    const CRectangle convertedBox{120, 40, 200, 60};
    auto* plain = new CParamDisplay(plainBox);
    auto* converted = new CParamDisplay(convertedBox, nullptr, kDisplayShadowText);
    auto* overlong = new CParamDisplay({220, 40, 300, 60});
    auto* hidden = new CParamDisplay({320, 40, 400, 60}, nullptr, kDisplayNoDraw);
    auto* racing = new CParamDisplay({420, 40, 500, 60});
    EXPECT_FALSE(hidden->isDirty());
    for (CParamDisplay* display : {plain, converted, overlong, hidden, racing}) {
        display->setBackColour(kNavy);
        frame->addView(display);
    }
    char ms[] = " ms";
    // An unterminated text is cut at the buffer's end (AddressSanitizer checks the reading).
    converted->setTextConverterWithData(asHundreds, ms);
    overlong->setTextConverter(unterminated);
    racing->setTextConverterWithData(changedMeanwhile, racing);
    window->paint({0, 0, 1, 1});  // ends the wait for the first paint only
    for (CParamDisplay* display : {plain, converted, overlong, hidden, racing}) {
        display->setValue(0.5f);
    }
    frame->idle();
    EXPECT_FALSE(plain->isDirty());
    EXPECT_FALSE(hidden->isDirty());
    EXPECT_TRUE(racing->isDirty());  // the value that came meanwhile is still to be shown

    // What the read-outs must look like, drawn by hand on a surface of the window's size.
    CSoftSurface expected(700, 100);
    CDrawContext context(nullptr, &expected, nullptr);
    context.setFillColour(kNavy);
    context.fillRect(plainBox);
    context.fillRect(convertedBox);
    context.setFrameColour(kColourBlack);
    context.frameRect(plainBox);
    context.frameRect(convertedBox);
    context.setFont(kFontNormal);
    context.drawTextInRect("0.50", plainBox, false, kAlignCenter);
    context.setFontColour(kColourRed);
    context.drawTextInRect("150 ms", {121, 41, 201, 61}, false, kAlignCenter);
    context.setFontColour(kColourWhite);
    context.drawTextInRect("150 ms", convertedBox, false, kAlignCenter);
    int textPixels = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 210; ++x) {
            ASSERT_EQ(window->pixel(x, y), expected.pixel(x, y)) << x << "," << y;
            textPixels += (expected.pixel(x, y) >> 16) > 0x80;  // white or red
        }
    }
    EXPECT_GT(textPixels, 100);             // the text is really there
    EXPECT_EQ(window->pixel(350, 50), 0u);  // the hidden display left the window alone
}

}  // namespace
