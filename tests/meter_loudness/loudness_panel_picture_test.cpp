// What the loudness panel shows after a known programme (written as PNGs into the build
// folder): bars, lamp, figures, target and ceiling, the history at a zoom with its range
// following the programme or the scale, and the graph scrolling with idle drawing only what
// changed.
#include <cmath>
#include <cstdint>
#include <vector>

#include "meter_loudness/history_graph.h"
#include "meter_loudness/loudness_parameters.h"
#include "meter_loudness/panel_style.h"
#include "tests/meter_loudness/loudness_panel_fixture.h"

namespace {

using namespace loudness;

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

}  // namespace
