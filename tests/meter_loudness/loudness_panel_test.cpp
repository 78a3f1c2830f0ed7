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
        for (int y = loudness_layout::kHistory.top; y < loudness_layout::kHistory.bottom; ++y) {
            for (int x = loudness_layout::kHistory.left; x < loudness_layout::kHistory.right; ++x) {
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
    EXPECT_EQ(pixel(x, rowAt(-2.5)), packed(panel_style::kGreen));
    EXPECT_EQ(pixel(x, rowAt(3.5)), packed(panel_style::kUnlit));
    EXPECT_EQ(pixel(loudness_layout::kCeilingLamp.left + 5, loudness_layout::kCeilingLamp.top + 5),
              packed(panel_style::kLampOn));
    // The newest graph column shows the last ten seconds at the target, in green.
    const int newest = loudness_layout::kHistory.right - 1;
    int greenRows = 0;
    for (int y = loudness_layout::kHistory.top; y < loudness_layout::kHistory.bottom; ++y) {
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

    const CSoftSurface& surface = window->pixels();
    std::vector<unsigned char> rgb;
    for (std::uint32_t p : surface.pixels()) {
        rgb.insert(rgb.end(), {static_cast<unsigned char>(p >> 16),
                               static_cast<unsigned char>(p >> 8), static_cast<unsigned char>(p)});
    }
    ASSERT_TRUE(stbi_write_png(PEVO_LOUDNESS_PANEL_PNG, surface.width(), surface.height(), 3,
                               rgb.data(), surface.width() * 3));
    std::printf("panel written to %s\n", PEVO_LOUDNESS_PANEL_PNG);
}

TEST_F(LoudnessPanelTest, GraphScrollsAndIdleDrawsOnlyWhatChanged) {
    play(20.0, [](double t) { return t < 10.0 ? -30.0 : -18.0; });
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    const int drawings = window->surfaceAcquisitions();
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(window->surfaceAcquisitions(), drawings) << "nothing changed, nothing drawn";

    const std::vector<std::uint32_t> before = graph();
    play(1.0, [](double) { return -18.0; });  // two more points
    const std::vector<std::uint32_t> after = graph();
    const int width = loudness_layout::kHistory.width();
    int moved = 0;
    for (int y = 0; y < loudness_layout::kHistory.height(); ++y) {
        for (int x = 0; x + 2 < width; ++x) {
            moved += after[y * width + x] == before[y * width + x + 2];
        }
    }
    EXPECT_EQ(moved, (width - 2) * loudness_layout::kHistory.height());
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
