#include "meter_level/ad_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <typeinfo>

#include "gui/frame.h"
#include "gui/native/soft/soft_bitmap.h"
#include "gui/native/soft/soft_surface.h"
#include "gui/param_display.h"
#include "gui/vertical_slider.h"
#include "gui/vertical_switch.h"
#include "meter_level/extended_vu_meter.h"
#include "plugin/panel_snapshot.h"
#include "tests/meter_level/editor_fixture.h"

namespace {

/// Meter value of `level` (0..1) on `channel`, as the engine publishes it.
float meter(int channel, float level) {
    return static_cast<float>(channel) + 0.5f * level;
}

/// Whether the window shows sub-image `image` of bitmap `id` in `area`.
bool showsSubImage(const EditorFixture& fixture, int id, const CRectangle& area, int image) {
    const std::unique_ptr<CSoftBitmap> bitmap = loadSoftBitmap(id);
    const int offset = image * area.height();
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (fixture.window()->pixel(x, y) !=
                bitmap->pixel(x - area.left, y - area.top + offset)) {
                return false;
            }
        }
    }
    return true;
}

TEST(ADEditorTest, OpensTheWholePanelShowingTheEffectsSettings) {
    EditorFixture host;
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 900);
    EXPECT_EQ(rect->bottom, 202);
    host.setParameter(5, 0.5f);  // M|S, set while the window is closed
    host.setParameter(7, 1.0f);  // SQUARE
    host.open();
    ASSERT_NE(host.frame(), nullptr);

    struct Expected {
        const std::type_info& type;
        CRectangle bounds;
    };
    const Expected layout[] = {
        {typeid(CVerticalSlider), {823, 105, 839, 175}},
        {typeid(CParamDisplay), {818, 92, 845, 104}},
        {typeid(CVerticalSwitch), {83, 40, 114, 85}},
        {typeid(CVerticalSwitch), {83, 122, 114, 167}},
        {typeid(CVerticalSwitch), {793, 40, 820, 68}},
        {typeid(CVuMeter), {151, 65, 755, 92}},
        {typeid(CVuMeter), {151, 115, 755, 142}},
        {typeid(CExtendedVuMeter), {151, 65, 755, 92}},
        {typeid(CExtendedVuMeter), {151, 115, 755, 142}},
        {typeid(CExtendedVuMeter), {151, 65, 755, 92}},
        {typeid(CExtendedVuMeter), {151, 115, 755, 142}},
    };
    ASSERT_EQ(host.frame()->viewCount(), 11);
    for (int i = 0; i < 11; ++i) {
        CView* view = host.frame()->viewAt(i);
        CRectangle bounds;
        view->getBounds(bounds);
        EXPECT_EQ(typeid(*view), layout[i].type) << i;
        EXPECT_EQ(bounds.left, layout[i].bounds.left) << i;
        EXPECT_EQ(bounds.top, layout[i].bounds.top) << i;
        EXPECT_EQ(bounds.right, layout[i].bounds.right) << i;
        EXPECT_EQ(bounds.bottom, layout[i].bounds.bottom) << i;
    }
    EXPECT_TRUE(showsSubImage(host, 133, {83, 40, 114, 85}, 1));
    EXPECT_TRUE(showsSubImage(host, 133, {83, 122, 114, 167}, 0));
    EXPECT_TRUE(showsSubImage(host, 134, {793, 40, 820, 68}, 1));
    EXPECT_EQ(host.strip(0), EditorFixture::expectedStrip({}));

    // Closing and opening again builds everything anew, from the values of now.
    host.setParameter(6, 1.0f);
    host.dispatch(effEditClose);
    EXPECT_EQ(host.frame(), nullptr);
    host.open();
    ASSERT_EQ(host.frame()->viewCount(), 11);
    EXPECT_TRUE(showsSubImage(host, 133, {83, 122, 114, 167}, 2));
}

TEST(ADEditorTest, MarksLightOneSegmentOverTheBar) {
    EditorFixture host;
    host.open();
    struct Case {
        float level;
        int from;
        int to;
    };
    // Segment k spans trunc(k x 604 / 40) to trunc((k + 1) x 604 / 40).
    for (const Case& c : {Case{0.03f, 0, 15}, Case{0.0625f, 30, 45}, Case{0.5f, 286, 302},
                          Case{1.0f, 588, 604}, Case{7.0f, 588, 604}}) {
        host.setParameter(2, meter(1, c.level));
        host.idle();
        EXPECT_EQ(host.strip(1), EditorFixture::expectedStrip({{c.from, c.to}})) << c.level;
    }
    host.setParameter(2, meter(1, 0.01f));  // below half a segment: nothing lit
    host.idle();
    EXPECT_EQ(host.strip(1), EditorFixture::expectedStrip({}));
    EXPECT_EQ(host.strip(0), EditorFixture::expectedStrip({}));

    // The bar of channel 0 with its hold mark beyond it and its peak inside it.
    host.setParameter(1, meter(0, 0.5f));
    host.setParameter(2, meter(0, 0.25f));
    host.setParameter(3, meter(0, 0.75f));
    host.idle();
    EXPECT_EQ(host.strip(0), EditorFixture::expectedStrip({{0, 302}, {437, 453}}));

    // A mark that moves wipes its old segment; one that stays leaves the bar alone.
    CView* bar = host.frame()->viewAt(5);
    host.setParameter(3, meter(0, 0.75f));
    EXPECT_FALSE(bar->isDirty());
    host.setParameter(3, meter(0, 0.625f));
    EXPECT_TRUE(bar->isDirty());
    host.idle();
    EXPECT_EQ(host.strip(0), EditorFixture::expectedStrip({{0, 302}, {362, 377}}));

    // Readings for no strip of ours are ignored.
    for (float odd : {-0.5f, 2.0f, NAN, INFINITY}) {
        host.setParameter(1, odd);
    }
    host.idle();
    EXPECT_EQ(host.strip(0), EditorFixture::expectedStrip({{0, 302}, {362, 377}}));
}

TEST(ADEditorTest, AudioMovesBothStripsAtTheNextIdle) {
    EditorFixture host;
    host.open();
    for (int block = 0; block < 40; ++block) {
        host.process(0.5f, 0.05f);
    }
    EXPECT_EQ(host.strip(0), EditorFixture::expectedStrip({}));  // nothing drawn yet
    // After one block all four marks are dirty; the bars only if something moved.
    for (int view = 7; view < 11; ++view) {
        EXPECT_TRUE(host.frame()->viewAt(view)->isDirty()) << view;
    }
    host.idle();
    const std::string upper = host.strip(0);
    const std::string lower = host.strip(1);
    EXPECT_EQ(upper.find('?'), std::string::npos);
    // The lower strip's rightmost lit column ends the segment of its published peak.
    const float peak = (host.getParameter(2) - 1.0f) * 2.0f;
    const int segmentEnd = static_cast<int>(static_cast<int>(40 * peak + 0.5f) / 40.0f * 604);
    EXPECT_EQ(static_cast<int>(lower.rfind('o')), segmentEnd - 1);
    EXPECT_GT(upper.rfind('o'), lower.rfind('o') + 250);  // -6 dB against -26 dB
    for (int view = 0; view < 11; ++view) {
        EXPECT_FALSE(host.frame()->viewAt(view)->isDirty()) << view;
    }

    host.dispatch(effEditClose);
    host.process(0.0f, 0.0f);  // a closed editor takes no values
}

TEST(ADEditorTest, DelayReadOutShowsWholeMilliseconds) {
    char text[16];
    for (const auto& [value, shown] : {std::pair<float, const char*>{0.5f, "150"},
                                       {1.0f, "300"},
                                       {0.0f, "0"},
                                       {0.69999999f, "209"},
                                       {NAN, "0"}}) {
        ADEditor::delayText(value, text);
        EXPECT_STREQ(text, shown) << value;
    }
}

}  // namespace

namespace {

TEST(ADEditorTest, SnapshotShowsWhatTheWindowShows) {
    EditorFixture host;
    PanelSnapshot picture{0, 0, nullptr};
    auto request = [&] {
        return host.dispatch(effVendorSpecific, kPanelSnapshotIndex, kPanelSnapshotValue, &picture);
    };
    EXPECT_EQ(request(), 0);  // no pixels: the answer is the size to bring
    ASSERT_EQ(picture.width, 900);
    ASSERT_EQ(picture.height, 202);
    std::vector<std::uint32_t> pixels(900 * 202);
    picture.pixels = pixels.data();
    EXPECT_EQ(host.dispatch(effVendorSpecific, 0, kPanelSnapshotValue, &picture), 0);
    EXPECT_EQ(request(), 1);  // closed: drawn as it would open
    EXPECT_EQ(host.editor()->getFrame(), nullptr);

    host.open();
    host.setParameter(1, meter(1, 0.5f));
    host.setParameter(2, meter(1, 0.75f));
    ASSERT_EQ(request(), 1);
    host.idle();  // the window still gets what the picture took
    EXPECT_EQ(host.strip(1), EditorFixture::expectedStrip({{0, 302}, {437, 453}}));
    for (int y = 0; y < 202; ++y) {
        for (int x = 0; x < 900; ++x) {
            ASSERT_EQ(pixels[std::size_t(y) * 900 + x], host.window()->pixel(x, y))
                << x << "," << y;
        }
    }
}

}  // namespace
