// The loudness meter's panel in a real window, driven through the record as a host drives
// it: the meters show the audio on the screen, real clicks on both switches and on reset
// reach the host as gestures, and the window closes and opens again. On Linux the X
// server shows it; on Windows, Wine on such a server.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "meter_loudness/loudness_parameters.h"
#include "resources/loudness_layout.h"
#include "tests/host/pointer_gesture.h"
#include "tests/host/test_host.h"
#include "tools/hostsupport/host_window.h"

namespace {

constexpr const char* kTitle = "PevoLoudnessWindowTest";
constexpr int kHostMargin = 20;

struct Screen {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;

    /// How many pixels of `box` differ from `other`'s.
    int changedIn(const Screen& other, const loudness_layout::Box& box) const {
        int changed = 0;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                const std::size_t i = std::size_t(y) * width + x;
                changed += pixels[i] != other.pixels[i];
            }
        }
        return changed;
    }
};

class LoudnessWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        host = CHostWindow::create(loudness_layout::kWidth + kHostMargin,
                                   loudness_layout::kHeight + kHostMargin, kTitle);
        if (!host) {
            GTEST_SKIP() << "no window system";
        }
        testHost.sampleRateAnswer = 48000;
        plugin = PluginInstance::create();
        ASSERT_TRUE(plugin);
        ERect* rect = nullptr;
        ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, loudness_layout::kWidth);
        EXPECT_EQ(rect->bottom - rect->top, loudness_layout::kHeight);
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host->handle()), 1);
        serve(5);
    }
    void TearDown() override {
        if (plugin) {
            plugin->dispatch(effEditClose);
        }
        plugin.reset();
        host.reset();
    }
    void serveOnce() {
        host->processEvents();
        plugin->dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    void serve(int turns) {
        for (int i = 0; i < turns; ++i) {
            serveOnce();
        }
    }
    void serveUntil(const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!done() && std::chrono::steady_clock::now() < limit) {
            serveOnce();
        }
    }
    Screen capture() {
        Screen screen;
        EXPECT_TRUE(host->capture(screen.pixels, screen.width, screen.height));
        if (screen.width < loudness_layout::kWidth || screen.height < loudness_layout::kHeight) {
            ADD_FAILURE() << "captured " << screen.width << " x " << screen.height;
            screen.width = loudness_layout::kWidth;
            screen.height = loudness_layout::kHeight;
            screen.pixels.assign(std::size_t(screen.width) * screen.height, 0);
        }
        return screen;
    }
    /// Four seconds of a 1 kHz tone at -23 dBFS on both inputs.
    void playTone() {
        StereoBlock block(480);
        const double amplitude = std::pow(10.0, -23.0 / 20.0);
        for (int start = 0; start < 4 * 48000; start += block.frames) {
            for (int i = 0; i < block.frames; ++i) {
                const double phase = 2.0 * 3.141592653589793 * (start + i) / 48.0;
                block.input[0][i] = block.input[1][i] =
                    static_cast<float>(amplitude * std::sin(phase));
            }
            plugin->process(block);
        }
    }
    /// Begin-edit, automation and end-edit requests, in order, as "b9", "a9=1", "e9".
    std::vector<std::string> gestures() const {
        std::vector<std::string> seen;
        for (const TestHost::Call& call : testHost.calls) {
            const std::string index = std::to_string(call.index);
            if (call.opcode == audioMasterBeginEdit) {
                seen.push_back("b" + index);
            } else if (call.opcode == audioMasterEndEdit) {
                seen.push_back("e" + index);
            } else if (call.opcode == audioMasterAutomate) {
                seen.push_back("a" + index + "=" + std::to_string(int(call.opt)));
            }
        }
        return seen;
    }

    TestHost testHost;
    std::unique_ptr<CHostWindow> host;
    std::unique_ptr<PluginInstance> plugin;
};

TEST_F(LoudnessWindow, ShowsTheMetersAndTakesRealClicksOnTheSwitchesAndReset) {
    const Screen atRest = capture();
    playTone();
    serve(5);
    const Screen playing = capture();
    for (const loudness_layout::Box& box :
         {loudness_layout::kMomentaryBar, loudness_layout::kShortTermBar,
          loudness_layout::kIntegrated, loudness_layout::kMaxShortTerm,
          loudness_layout::kHistory}) {
        EXPECT_GT(playing.changedIn(atRest, box), 0) << "at " << box.left << ", " << box.top;
    }

    if (!PointerGesture::available()) {
        GTEST_SKIP() << "xdotool cannot be run";
    }
    std::string arguments = PointerGesture::findWindow(kTitle);
    const auto click = [&](const loudness_layout::Box& box, int dy) {
        arguments += "mousemove --window %1 " + std::to_string(box.left + 6) + " " +
                     std::to_string(box.top + dy) + " sleep 0.3 mousedown 1 sleep 0.3 mouseup 1 ";
    };
    click(loudness_layout::kScaleSwitch, loudness_layout::kSwitchImageHeight - 6);
    click(loudness_layout::kUnitSwitch, loudness_layout::kSwitchImageHeight - 6);
    click(loudness_layout::kResetButton, loudness_layout::kResetButton.height() / 2);
    arguments += "sleep 0.3";
    testHost.calls.clear();
    {
        PointerGesture clicks(arguments);
        serveUntil([&] { return clicks.finished() && testHost.count(audioMasterEndEdit) >= 3; });
    }
    serve(5);
    const std::vector<std::string> expected = {"b9",  "a9=1", "e9",    "b10",   "a10=1",
                                               "e10", "b11",  "a11=1", "a11=0", "e11"};
    EXPECT_EQ(gestures(), expected);
    StereoBlock empty(0);
    plugin->process(empty);
    EXPECT_EQ(plugin->text(effGetParamDisplay, loudness::kIntegrated, kVstMaxLabelLen), "-inf");
    EXPECT_EQ(plugin->text(effGetParamDisplay, loudness::kScale, kVstMaxLabelLen), "EBU +18");
}

TEST_F(LoudnessWindow, ClosesAndOpensAgainAsItWas) {
    playTone();
    serve(5);
    const Screen first = capture();
    plugin->dispatch(effEditClose);
    serve(5);
    const Screen closed = capture();
    EXPECT_GT(closed.changedIn(first, loudness_layout::kNumberWindow), 0) << "the panel stayed";

    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host->handle()), 1);
    serve(5);
    const Screen again = capture();
    EXPECT_EQ(again.changedIn(first, {0, 0, loudness_layout::kWidth, loudness_layout::kHeight}), 0)
        << "the panel opened again differs from the first one";
}

}  // namespace
