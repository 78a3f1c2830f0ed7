// The delivered plug-in's editor in a real window, driven only through the record as a host
// drives it: the meters show the audio on the screen, a drag of the delay slider with the
// real pointer is automated in step with the handle, and the window closes and opens again.
// On Linux the X server shows it; on Windows, Wine on such a server.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/host/host_window_fixture.h"
#include "tests/host/pointer_gesture.h"

namespace {

constexpr const char* kTitle = "PevoEditorWindowTest";
constexpr int kPanelWidth = 900;
constexpr int kPanelHeight = 202;
constexpr int kStripLeft = 151;
constexpr int kStripWidth = 604;
constexpr int kStripMiddleRows[2] = {65 + 13, 115 + 13};
constexpr int kSegments = 40;

// The delay slider's handle (14 x 12, one pixel in from the track's left edge) travels 57
// pixels: its top is at 162 for the value 0.0 and at 105 for 1.0.
constexpr int kHandleLeft = 824;
constexpr int kHandleWidth = 14;
constexpr int kHandleHeight = 12;
constexpr int kHandleTopAtZero = 162;
constexpr int kHandleTopAtOne = 105;
constexpr int kHandleTravel = 57;

/// The level of a published meter value (channel + 0.5 x level).
float level(float meterValue) {
    return (meterValue - std::trunc(meterValue)) * 2.0f;
}

/// The segment count a meter lights up to for `value`, rounded half up.
int segmentsUpTo(float value) {
    return static_cast<int>(static_cast<float>(kSegments) * value + 0.5f);
}

/// A strip as 40 segments: 'o' lit, '.' dark; the RMS bar with the two single marks on it.
std::string expectedSegments(float rms, float peak, float hold) {
    std::string strip(kSegments, '.');
    for (int k = 0; k < segmentsUpTo(rms); ++k) {
        strip[k] = 'o';
    }
    for (const float mark : {peak, hold}) {
        if (segmentsUpTo(mark) > 0) {
            strip[segmentsUpTo(mark) - 1] = 'o';
        }
    }
    return strip;
}

/// A strip as shown: a segment is lit where its middle differs from the strip at rest.
std::string shownSegments(const Screen& now, const Screen& atRest, int channel) {
    std::string strip;
    const int y = kStripMiddleRows[channel];
    for (int k = 0; k < kSegments; ++k) {
        const int x =
            kStripLeft + (k * kStripWidth / kSegments + (k + 1) * kStripWidth / kSegments) / 2;
        strip += now.at(x, y) == atRest.at(x, y) ? '.' : 'o';
    }
    return strip;
}

/// The slider's value with the pointer at `y`: a press anywhere on the track centres the
/// handle on the cursor (one pixel above the middle), so the top of the travel is 1.0.
float sliderValueAt(int y) {
    const int centreAtOne = kHandleTopAtOne + kHandleHeight / 2 - 1;
    const float fraction = static_cast<float>(y - centreAtOne) / kHandleTravel;
    return std::fmin(1.0f, 1.0f - fraction);
}

/// Where the slider draws its handle's top for `value`, as it computes it.
int handleTopFor(float value) {
    return kHandleTopAtOne + static_cast<int>((1.0f - value) * static_cast<float>(kHandleTravel));
}

/// Every row of the slider at which `screen` shows the picture `handle` of the handle.
std::vector<int> handleTopsShown(const Screen& screen, const std::vector<std::uint32_t>& handle) {
    std::vector<int> tops;
    for (int top = kHandleTopAtOne; top <= kHandleTopAtZero; ++top) {
        if (screen.block(kHandleLeft, top, kHandleWidth, kHandleHeight) == handle) {
            tops.push_back(top);
        }
    }
    return tops;
}

std::string describe(const TestHost::Call& call) {
    char text[64];
    switch (call.opcode) {
        case audioMasterBeginEdit:
            std::snprintf(text, sizeof text, "begin %d", int(call.index));
            break;
        case audioMasterEndEdit:
            std::snprintf(text, sizeof text, "end %d", int(call.index));
            break;
        default:
            std::snprintf(text, sizeof text, "automate %d %.6g", int(call.index), call.opt);
            break;
    }
    return text;
}

class EditorWindow : public HostWindowFixture {
  protected:
    EditorWindow() : HostWindowFixture(kPanelWidth, kPanelHeight, kTitle) {}

    /// One second of a 1 kHz sine of amplitude 0.5 on both inputs, in blocks of 512.
    void playSine() {
        StereoBlock block(512);
        for (int start = 0; start < 44100; start += block.frames) {
            for (int i = 0; i < block.frames; ++i) {
                const double phase = 2.0 * 3.141592653589793 * 1000.0 * (start + i) / 44100.0;
                block.input[0][i] = block.input[1][i] = static_cast<float>(0.5 * std::sin(phase));
            }
            plugin->process(block);
        }
    }
    /// The begin-edit, automation and end-edit requests the host has seen, in order.
    std::vector<std::string> gestureRequests() const {
        std::vector<std::string> seen;
        for (const TestHost::Call& call : testHost.calls) {
            if (call.opcode == audioMasterAutomate || call.opcode == audioMasterBeginEdit ||
                call.opcode == audioMasterEndEdit) {
                seen.push_back(describe(call));
            }
        }
        return seen;
    }
};

TEST_F(EditorWindow, ShowsTheMetersAndFollowsADragOfTheDelaySliderWithTheRealPointer) {
    plugin->setParameter(7, 1.0f);  // plain RMS: the bar of a sine ends 3 dB below its peak
    serve(3);
    const Screen atRest = capture();
    playSine();
    serve(3);
    const Screen playing = capture();
    const float rms = level(plugin->getParameter(1));
    const float peak = level(plugin->getParameter(2));
    const float hold = level(plugin->getParameter(3));
    ASSERT_LT(segmentsUpTo(rms), segmentsUpTo(peak) - 1) << "the mark must stand apart";
    for (int channel = 0; channel < 2; ++channel) {
        EXPECT_EQ(shownSegments(playing, atRest, channel), expectedSegments(rms, peak, hold))
            << "strip " << channel;
    }

    if (!PointerGesture::available()) {
        GTEST_SKIP() << "xdotool cannot be run";
    }
    // Press on the handle, hold the button until the press has been taken, then move up in
    // steps, each held long enough for the drag loop to poll it, past the top, and let go.
    const int x = kHandleLeft + kHandleWidth / 2;
    const int pressY = kHandleTopAtZero + kHandleHeight / 2;
    const int steps[] = {155, 140, 125, 110, 95};
    std::string arguments = PointerGesture::findWindow(kTitle) + "mousemove --window %1 " +
                            std::to_string(x) + " " + std::to_string(pressY) +
                            " sleep 0.2 mousedown 1 sleep 0.5";
    std::vector<std::string> expected{"begin 0"};
    for (const int y : steps) {
        arguments +=
            " mousemove --window %1 " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.25";
        char text[64];
        std::snprintf(text, sizeof text, "automate 0 %.6g", sliderValueAt(y));
        if (expected.back() != text) {
            expected.push_back(text);
        }
    }
    arguments += " mouseup 1";
    expected.push_back("end 0");
    // At each host idle inside the drag, the screen shows the handle where the value that
    // was automated last puts it.
    const std::vector<std::uint32_t> handle =
        playing.block(kHandleLeft, kHandleTopAtZero, kHandleWidth, kHandleHeight);
    float automated = -1.0f;
    std::vector<std::vector<int>> shownInDrag, expectedInDrag;
    testHost.onCall = [&](const TestHost::Call& call) {
        if (call.opcode == audioMasterAutomate) {
            automated = call.opt;
        } else if (call.opcode == audioMasterIdle && automated >= 0.0f) {
            shownInDrag.push_back(handleTopsShown(capture(), handle));
            expectedInDrag.push_back({handleTopFor(automated)});
        }
    };
    testHost.calls.clear();
    {
        // Wine starts xdotool without waiting for it: the host's end-edit tells the end.
        PointerGesture drag(arguments);
        serveUntil([&] { return drag.finished() && testHost.count(audioMasterEndEdit) > 0; });
    }
    testHost.onCall = nullptr;
    serve(5);
    EXPECT_EQ(gestureRequests(), expected);
    EXPECT_EQ(plugin->getParameter(0), 1.0f);
    EXPECT_FALSE(shownInDrag.empty()) << "the host was not served during the drag";
    EXPECT_EQ(shownInDrag, expectedInDrag);
    EXPECT_EQ(handleTopsShown(capture(), handle), std::vector<int>{kHandleTopAtOne});
}

TEST_F(EditorWindow, ClosesAndOpensAgainShowingTheEffectsSettings) {
    plugin->setParameter(0, 1.0f);
    plugin->setParameter(5, 0.5f);
    serve(5);
    const Screen first = capture();

    plugin->dispatch(effEditClose);
    serve(5);
    const Screen closed = capture();
    const std::uint32_t hostBackground = closed.at(kPanelWidth + kHostMargin / 2, 0);
    int panelPixelsLeft = 0;
    for (int y = 0; y < kPanelHeight; ++y) {
        for (int x = 0; x < kPanelWidth; ++x) {
            panelPixelsLeft += closed.at(x, y) != hostBackground;
        }
    }
    EXPECT_EQ(panelPixelsLeft, 0);

    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host->handle()), 1);
    serve(5);
    const Screen again = capture();
    int differences = 0;
    for (std::size_t i = 0; i < first.pixels.size(); ++i) {
        differences += first.pixels[i] != again.pixels[i];
    }
    EXPECT_EQ(differences, 0) << "the panel opened again differs from the first one";
}

}  // namespace
