// The loudness panel on the headless platform, driven through the effect's record: what it
// shows after a known programme (written as a PNG into the build folder), the graph's
// scrolling, idle drawing only what changed, the controls' gestures reaching the host, and
// pictures taken on another thread while the window comes and goes.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "gui/native/soft/headless_platform.h"
#include "gui/native/soft/headless_window.h"
#include "meter_loudness/history_graph.h"
#include "meter_loudness/loudness_effect.h"
#include "meter_loudness/panel_style.h"
#include "plugin/panel_snapshot.h"
#include "resources/loudness_layout.h"

namespace {

using namespace loudness;
constexpr double kRate = 48000.0;
constexpr int kBlock = 480;

std::uint32_t packed(CRgbColour colour) {
    return (std::uint32_t(colour.red) << 16) | (std::uint32_t(colour.green) << 8) | colour.blue;
}

struct Request {
    VstInt32 opcode;
    VstInt32 index;
    float value;
};
std::vector<Request>* requests = nullptr;
/// The host's idles, and the callback on which it closes the effect (-1: none).
int hostIdles = 0;
VstInt32 closeOn = -1;

VstIntPtr host(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    hostIdles += opcode == audioMasterIdle;
    if (opcode == closeOn && effect) {
        closeOn = -1;
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        if (requests) {
            requests->push_back({opcode, index, opt});
        }
        requests = nullptr;  // the fixture's record is gone with it
        return 0;
    }
    if (opcode == audioMasterGetSampleRate) {
        return static_cast<VstIntPtr>(kRate);
    }
    if (requests && (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
                     opcode == audioMasterEndEdit)) {
        requests->push_back({opcode, index, opt});
    }
    return 0;
}

class LoudnessPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        requests = &seen;
        record = (new LoudnessEffect(host))->getAeffect();
        record->dispatcher(record, effEditOpen, 0, 0, &parentWindow, 0.0f);
        window = platform.lastWindow();
        ASSERT_NE(window, nullptr);
        window->paintAll();
    }
    void TearDown() override {
        if (requests) {
            record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        }
        requests = nullptr;
        closeOn = -1;
    }
    /// The user holds the left button at `where` for `polls` polls of the mouse, `apart`
    /// milliseconds apart.
    void hold(CPosition where, int polls, std::uint32_t apart = 20) {
        int seenPolls = 0;
        const CPosition origin = window->screenOrigin();
        platform.setCursorPosition({origin.x + where.x, origin.y + where.y});
        platform.setMouseState(kMouseLeft);
        platform.setMousePollHook([&] {
            platform.advance(apart);
            if (++seenPolls >= polls) {
                platform.setMouseState(0);
            }
        });
        window->press(where);
        platform.setMousePollHook(nullptr);
        platform.setMouseState(0);
    }
    /// `seconds` of 1 kHz tone on both channels at `dbfs(t)` peak, an idle every 50 ms.
    template <typename Level>
    void play(double seconds, Level dbfs) {
        std::vector<float> left(kBlock), right(kBlock);
        float* channels[] = {left.data(), right.data()};
        for (int block = 0; block < seconds * kRate / kBlock; ++block) {
            const double amplitude = std::pow(10.0, dbfs(block * kBlock / kRate) / 20.0);
            for (int i = 0; i < kBlock; ++i) {
                left[i] = right[i] = static_cast<float>(amplitude * std::sin(phase));
                phase += 2.0 * 3.14159265358979 * 1000.0 / kRate;
            }
            record->processReplacing(record, channels, channels, kBlock);
            if (block % 5 == 4) {
                record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            }
        }
    }
    std::uint32_t pixel(int x, int y) const { return window->pixel(x, y); }
    /// The graph's pixels, row by row.
    std::vector<std::uint32_t> graph() const {
        std::vector<std::uint32_t> pixels;
        for (int y = loudness_layout::kHistoryPlot.top; y < loudness_layout::kHistoryPlot.bottom;
             ++y) {
            for (int x = loudness_layout::kHistoryPlot.left;
                 x < loudness_layout::kHistoryPlot.right; ++x) {
                pixels.push_back(pixel(x, y));
            }
        }
        return pixels;
    }

    void writePng(const char* path) const {
        const CSoftSurface& surface = window->pixels();
        std::vector<unsigned char> rgb;
        for (std::uint32_t p : surface.pixels()) {
            rgb.insert(rgb.end(),
                       {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                        static_cast<unsigned char>(p)});
        }
        ASSERT_TRUE(stbi_write_png(path, surface.width(), surface.height(), 3, rgb.data(),
                                   surface.width() * 3));
        std::printf("panel written to %s\n", path);
    }
    void set(VstInt32 index, float value) {
        record->setParameter(record, index, value);
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    /// Pixels of `colour` in a box of the panel.
    int count(const loudness_layout::Box& box, CRgbColour colour) const {
        int found = 0;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                found += pixel(x, y) == packed(colour);
            }
        }
        return found;
    }
    /// The pixels of a box, row by row.
    std::vector<std::uint32_t> box(const loudness_layout::Box& area) const {
        std::vector<std::uint32_t> pixels;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                pixels.push_back(pixel(x, y));
            }
        }
        return pixels;
    }

    CHeadlessPlatform platform;
    std::vector<Request> seen;
    AEffect* record = nullptr;
    CHeadlessWindow* window = nullptr;
    int parentWindow = 0;
    double phase = 0.0;
};

TEST_F(LoudnessPanelTest, ShowsAKnownProgrammeAndWritesItAsPng) {
    // Three minutes swaying around the target, a near-full-scale burst, then the target.
    play(170.0, [](double t) { return -23.0 + 6.0 * std::sin(t * 2.0 * 3.14159265 / 60.0); });
    play(0.1, [](double) { return -0.5; });
    play(9.5, [](double) { return -23.0; });

    // The momentary bar is lit up to the target and dark above it.
    const int x = (loudness_layout::kMomentaryBar.left + loudness_layout::kMomentaryBar.right) / 2;
    const int barTop = loudness_layout::kMomentaryBar.top,
              barBottom = loudness_layout::kMomentaryBar.bottom;
    const auto rowAt = [&](double lu) {  // EBU +9: 27 LU over the bar, -18 at the bottom
        return barBottom - static_cast<int>((lu + 18.0) / 27.0 * (barBottom - barTop));
    };
    EXPECT_EQ(pixel(x, rowAt(-2.5)), packed(panel_style::kBelowBand));
    EXPECT_EQ(pixel(x, rowAt(-0.3)), packed(panel_style::kGreen));
    EXPECT_EQ(pixel(x, rowAt(3.5)), packed(panel_style::kUnlit));
    EXPECT_EQ(pixel(loudness_layout::kCeilingLamp.left + 5, loudness_layout::kCeilingLamp.top + 5),
              packed(panel_style::kLampOn));
    // The newest graph column shows the last ten seconds at the target, in green.
    const int newest = loudness_layout::kHistoryPlot.right - 1;
    int greenRows = 0;
    for (int y = loudness_layout::kHistoryPlot.top; y < loudness_layout::kHistoryPlot.bottom; ++y) {
        greenRows += pixel(newest, y) == packed(panel_style::kGreen);
    }
    EXPECT_GE(greenRows, 1);
    // Large figures in the integrated box: white on the glass.
    int white = 0;
    for (int y = loudness_layout::kIntegrated.top; y < loudness_layout::kIntegrated.bottom; ++y) {
        for (int x0 = loudness_layout::kIntegrated.left; x0 < loudness_layout::kIntegrated.right;
             ++x0) {
            white += pixel(x0, y) == 0xFFFFFF;
        }
    }
    EXPECT_GT(white, 500);

    writePng(PEVO_LOUDNESS_PANEL_PNG);
}

TEST_F(LoudnessPanelTest, TenMinutesAtTheFifteenMinuteZoomWithTargetCeilingAndFigures) {
    using loudness_layout::kHistoryPlot;
    set(kZoom, valueOfChoice(2, kZoomChoices));  // 15 minutes
    // Four minutes under the band, half a minute far over the scale, then at the target.
    play(240.0, [](double) { return -30.0; });
    play(30.0, [](double) { return -8.0; });
    play(330.0, [](double) { return -23.0; });
    writePng(PEVO_LOUDNESS_HISTORY_PNG);

    // 2.036 s a column: the programme fills the right 295 columns, the rest is empty glass.
    const double columnSeconds = 900.0 / kHistoryPlot.width();
    const auto columnAt = [&](double seconds) {
        return kHistoryPlot.right - 1 - (294 - static_cast<int>(seconds / columnSeconds));
    };
    const auto traceIn = [&](int x, CRgbColour colour) {
        return count({x, kHistoryPlot.top, x + 1, kHistoryPlot.bottom}, colour);
    };
    // Following the programme: its top is the grid line over its loudest (-8: -5 LUFS).
    const auto rowOf = [&](double lufs) {
        return kHistoryPlot.top + kHistoryPlot.height() -
               static_cast<int>(std::lround((lufs + 32.0) / 27.0 * kHistoryPlot.height()));
    };
    struct Case {
        double seconds;
        double lufs;
        CRgbColour colour;
    };
    for (const Case& c :
         {Case{100.0, -30.0, panel_style::kBelowBand}, Case{258.0, -8.0, panel_style::kRed},
          Case{590.0, -23.0, panel_style::kGreen}}) {
        EXPECT_EQ(pixel(columnAt(c.seconds), rowOf(c.lufs)), packed(c.colour)) << c.seconds;
        EXPECT_EQ(traceIn(columnAt(c.seconds), c.colour), 1) << c.seconds;
        EXPECT_EQ(traceIn(columnAt(c.seconds), panel_style::kRed), c.colour == panel_style::kRed)
            << "nothing beyond the top while the graph follows the programme";
    }
    for (CRgbColour colour : {panel_style::kBelowBand, panel_style::kGreen, panel_style::kRed}) {
        EXPECT_EQ(traceIn(columnAt(0.0) - 2, colour), 0) << "nothing before the programme";
    }
    // On the bars' scale (top -14) the loud half minute leaves its mark along the top.
    set(kGraphRange, valueOfChoice(kFollowScale, kGraphRangeChoices));
    EXPECT_EQ(traceIn(columnAt(258.0), panel_style::kRed), HistoryGraph::kBeyondTopMark);
    EXPECT_EQ(pixel(columnAt(258.0), kHistoryPlot.top), packed(panel_style::kRed));
    EXPECT_EQ(traceIn(columnAt(590.0), panel_style::kRed), 0);

    // Target, ceiling and the momentary and short-term figures are drawn, and change with
    // the settings they show.
    const std::vector<std::uint32_t> target = box(loudness_layout::kTargetLine);
    const std::vector<std::uint32_t> ceiling = box(loudness_layout::kCeilingValue);
    EXPECT_GT(count(loudness_layout::kTargetLine, panel_style::kGlassInk), 40);
    EXPECT_GT(count(loudness_layout::kMomentaryFigures, panel_style::kTargetMark), 20);
    EXPECT_GT(count(loudness_layout::kShortTermFigures, panel_style::kTargetMark), 20);
    const auto inked = [&](const loudness_layout::Box& area) {
        return static_cast<int>(area.width() * area.height()) - count(area, panel_style::kGlass);
    };
    EXPECT_GT(inked(loudness_layout::kCeilingValue), 20);
    record->dispatcher(record, effSetProgram, 0, 2, nullptr, 0.0f);  // Streaming
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_NE(box(loudness_layout::kTargetLine), target);
    EXPECT_EQ(box(loudness_layout::kCeilingValue), ceiling) << "the same -1 dBTP";
    set(kCeiling, valueOfLevel(-2.0, kCeilingLowest, kCeilingHighest));
    EXPECT_NE(box(loudness_layout::kCeilingValue), ceiling);
}

TEST_F(LoudnessPanelTest, GraphScrollsAndIdleDrawsOnlyWhatChanged) {
    play(20.0, [](double t) { return t < 10.0 ? -30.0 : -18.0; });
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    const int drawings = window->surfaceAcquisitions();
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(window->surfaceAcquisitions(), drawings) << "nothing changed, nothing drawn";

    const std::vector<std::uint32_t> before = graph();
    play(1.0, [](double) { return -18.0; });  // two more points, two columns at 4 minutes
    const std::vector<std::uint32_t> after = graph();
    const int width = loudness_layout::kHistoryPlot.width();
    int moved = 0;
    for (int y = 0; y < loudness_layout::kHistoryPlot.height(); ++y) {
        for (int x = 0; x + 2 < width; ++x) {
            moved += after[y * width + x] == before[y * width + x + 2];
        }
    }
    EXPECT_EQ(moved, (width - 2) * loudness_layout::kHistoryPlot.height());
    EXPECT_NE(before, after);
}

TEST_F(LoudnessPanelTest, SwitchesAndResetReachTheHostAsGestures) {
    play(2.0, [](double) { return -23.0; });
    const auto click = [&](const loudness_layout::Box& box, int dy) {
        seen.clear();
        window->press({box.left + 5, box.top + dy}, kMouseLeft);
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    };
    const int lower = loudness_layout::kSwitchImageHeight / 2 + 5;
    for (const auto& [box, tag] : {std::pair{loudness_layout::kScaleSwitch, kScale},
                                   std::pair{loudness_layout::kUnitSwitch, kUnit}}) {
        click(box, lower);
        ASSERT_EQ(seen.size(), 3u) << tag;
        EXPECT_EQ(seen[0].opcode, audioMasterBeginEdit);
        EXPECT_EQ(seen[1].opcode, audioMasterAutomate);
        EXPECT_EQ(seen[1].value, 1.0f);
        EXPECT_EQ(seen[2].opcode, audioMasterEndEdit);
        for (const Request& r : seen) {
            EXPECT_EQ(r.index, tag);
        }
        EXPECT_EQ(record->getParameter(record, tag), 1.0f);
    }
    // The row switches: a click on a position chooses it, as one edit.
    struct Segment {
        const loudness_layout::Box& box;
        VstInt32 tag;
        int positions;
        int clicked;
    };
    for (const Segment& s : {Segment{loudness_layout::kPauseSwitch, kPause, 2, 1},
                             Segment{loudness_layout::kZoomSwitch, kZoom, 5, 3},
                             Segment{loudness_layout::kGraphRangeSwitch, kGraphRange, 2, 1}}) {
        seen.clear();
        const int x = s.box.left + s.box.width() * (2 * s.clicked + 1) / (2 * s.positions);
        window->press({x, s.box.top + 4}, kMouseLeft);
        ASSERT_EQ(seen.size(), 3u) << s.tag;
        EXPECT_EQ(seen[0].opcode, audioMasterBeginEdit);
        EXPECT_EQ(seen[1].opcode, audioMasterAutomate);
        EXPECT_EQ(seen[1].value, valueOfChoice(s.clicked, s.positions));
        EXPECT_EQ(seen[2].opcode, audioMasterEndEdit);
        EXPECT_EQ(seen[1].index, s.tag);
    }
    // Paused: the audio goes on, integration does not.
    char before[kVstMaxLabelLen] = {};
    record->dispatcher(record, effGetParamDisplay, kIntegrated, 0, before, 0.0f);
    play(2.0, [](double) { return -10.0; });
    char after[kVstMaxLabelLen] = {};
    record->dispatcher(record, effGetParamDisplay, kIntegrated, 0, after, 0.0f);
    EXPECT_STREQ(after, before);
    record->dispatcher(record, effGetParamDisplay, kMomentary, 0, after, 0.0f);
    EXPECT_STREQ(after, "13.0") << "-10 LUFS, in LU from the target";
    click(loudness_layout::kResetButton, 5);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].value, 1.0f);
    EXPECT_EQ(seen[2].value, 0.0f);
    EXPECT_EQ(seen[3].opcode, audioMasterEndEdit);
    record->processReplacing(record, nullptr, nullptr, 0);
    char text[kVstMaxLabelLen] = {};
    record->dispatcher(record, effGetParamDisplay, kMaxMomentary, 0, text, 0.0f);
    EXPECT_STREQ(text, "-inf");
}

TEST_F(LoudnessPanelTest, HeldResetStopsActingWhenTheHostClosesTheEffect) {
    const loudness_layout::Box& reset = loudness_layout::kResetButton;
    for (VstInt32 opcode : {audioMasterBeginEdit, audioMasterAutomate, audioMasterIdle}) {
        SCOPED_TRACE(opcode);
        if (!requests) {  // the last round closed the fixture's effect
            SetUp();
        }
        seen.clear();
        closeOn = opcode;
        hold({reset.left + 5, reset.top + 5}, 10);
        ASSERT_EQ(requests, nullptr);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back().opcode, opcode);  // nothing reached the host after the close
        EXPECT_EQ(platform.windows().size(), 0u);
    }
}

TEST_F(LoudnessPanelTest, HeldControlKeepsTheHostIdlingAcrossTheClockWrap) {
    const loudness_layout::Box& reset = loudness_layout::kResetButton;
    const CPosition where{reset.left + 5, reset.top + 5};
    // The 32-bit millisecond clock runs on towards its wrap, the panel idling on the way.
    for (std::uint32_t quarter = 1; quarter < 4; ++quarter) {
        platform.setTicks(quarter << 30);
        hold(where, 2);
    }
    platform.setTicks(0u - 1000u);
    hostIdles = 0;
    hold(where, 40, 200);      // a slow poll: an idle is due at each, before the wrap and after
    EXPECT_GE(hostIdles, 15);  // about one idle in two polls
}

TEST_F(LoudnessPanelTest, SnapshotsFromAnotherThreadWhileTheWindowComesAndGoes) {
    std::atomic<bool> running{true};
    std::atomic<int> drawn{0};
    std::thread tool([&] {
        std::vector<std::uint32_t> pixels(std::size_t(loudness_layout::kWidth) *
                                          loudness_layout::kHeight);
        PanelSnapshot picture{loudness_layout::kWidth, loudness_layout::kHeight, pixels.data()};
        while (running.load()) {
            drawn +=
                static_cast<int>(record->dispatcher(record, effVendorSpecific, kPanelSnapshotIndex,
                                                    kPanelSnapshotValue, &picture, 0.0f));
        }
    });
    for (int round = 0; round < 100; ++round) {
        record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
        play(0.05, [&](double) { return -30.0 + 0.1 * round; });
        record->dispatcher(record, effEditOpen, 0, 0, &parentWindow, 0.0f);
        window = platform.lastWindow();
        window->paintAll();
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    running.store(false);
    tool.join();
    EXPECT_GT(drawn.load(), 0);
}

}  // namespace
