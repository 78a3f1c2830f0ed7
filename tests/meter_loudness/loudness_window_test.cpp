// The loudness meter's panel in a real window, driven through the record as a host drives
// it: the meters show the audio on the screen, real clicks on both switches and on reset
// reach the host as gestures, and the window closes and opens again. On Linux the X
// server shows it; on Windows, Wine on such a server.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "meter_loudness/loudness_parameters.h"
#include "resources/loudness_layout.h"
#include "tests/host/host_window_fixture.h"
#include "tests/host/pointer_gesture.h"

namespace {

constexpr const char* kTitle = "PevoLoudnessWindowTest";
/// How many pixels of `box` differ between two screens.
int changedIn(const Screen& now, const Screen& before, const loudness_layout::Box& box) {
    int changed = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            changed += now.at(x, y) != before.at(x, y);
        }
    }
    return changed;
}

class LoudnessWindow : public HostWindowFixture {
  protected:
    LoudnessWindow()
        : HostWindowFixture(loudness_layout::kWidth, loudness_layout::kHeight, kTitle) {
        testHost.sampleRateAnswer = 48000;
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
        EXPECT_GT(changedIn(playing, atRest, box), 0) << "at " << box.left << ", " << box.top;
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
    // The run/pause toggle's right half: pause.
    arguments += "mousemove --window %1 " +
                 std::to_string(loudness_layout::kPauseSwitch.right - 8) + " " +
                 std::to_string(loudness_layout::kPauseSwitch.top + 6) +
                 " sleep 0.3 mousedown 1 sleep 0.3 mouseup 1 ";
    click(loudness_layout::kResetButton, loudness_layout::kResetButton.height() / 2);
    arguments += "sleep 0.3";
    testHost.calls.clear();
    {
        PointerGesture clicks(arguments);
        serveUntil([&] { return clicks.finished() && testHost.count(audioMasterEndEdit) >= 4; });
    }
    serve(5);
    std::vector<std::string> expected;
    for (const VstInt32 tag :
         {loudness::kScale, loudness::kUnit, loudness::kPause, loudness::kReset}) {
        const std::string index = std::to_string(tag);
        expected.insert(expected.end(), {"b" + index, "a" + index + "=1"});
        if (tag == loudness::kReset) {
            expected.push_back("a" + index + "=0");  // the button springs back
        }
        expected.push_back("e" + index);
    }
    EXPECT_EQ(gestures(), expected);
    StereoBlock empty(0);
    plugin->process(empty);
    EXPECT_EQ(plugin->text(effGetParamDisplay, loudness::kIntegrated, kVstMaxLabelLen), "-inf");
    EXPECT_EQ(plugin->text(effGetParamDisplay, loudness::kScale, kVstMaxLabelLen), "EBU +18");
    EXPECT_EQ(plugin->text(effGetParamDisplay, loudness::kPause, kVstMaxLabelLen), "Pause");
}

TEST_F(LoudnessWindow, ClosesAndOpensAgainAsItWas) {
    playTone();
    serve(5);
    const Screen first = capture();
    plugin->dispatch(effEditClose);
    serve(5);
    const Screen closed = capture();
    EXPECT_GT(changedIn(closed, first, loudness_layout::kNumberWindow), 0) << "the panel stayed";

    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host->handle()), 1);
    serve(5);
    const Screen again = capture();
    EXPECT_EQ(changedIn(again, first, {0, 0, loudness_layout::kWidth, loudness_layout::kHeight}), 0)
        << "the panel opened again differs from the first one";
}

}  // namespace
