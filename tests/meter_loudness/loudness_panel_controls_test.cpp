// The loudness panel's controls on the headless platform: clicks on the switches, the row
// switches and reset reach the host as gestures; a host that closes the effect while a
// control is held; idles across the clock's wrap; and pictures taken on another thread while
// the window comes and goes.
#include <atomic>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "meter_loudness/loudness_parameters.h"
#include "plugin/panel_snapshot.h"
#include "tests/meter_loudness/loudness_panel_fixture.h"

namespace {

using namespace loudness;

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
