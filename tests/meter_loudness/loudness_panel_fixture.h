// The loudness panel on the headless platform, driven through the effect's record as a host
// drives it: a host that records the controls' gestures and may close the effect from one of
// its callbacks, a tone of known loudness, and the panel's pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gui/native/soft/headless_platform.h"
#include "gui/native/soft/headless_window.h"
#include "plugin/vst2.h"
#include "resources/loudness_layout.h"

/// A colour as the panel's pixels hold it.
std::uint32_t packed(CRgbColour colour);

class LoudnessPanelTest : public ::testing::Test {
  protected:
    static constexpr double kRate = 48000.0;
    static constexpr int kBlock = 480;

    struct Request {
        VstInt32 opcode;
        VstInt32 index;
        float value;
    };

    void SetUp() override;
    void TearDown() override;
    /// The user holds the left button at `where` for `polls` polls of the mouse, `apart`
    /// milliseconds apart.
    void hold(CPosition where, int polls, std::uint32_t apart = 20);
    /// `seconds` of 1 kHz tone on both channels at `dbfs(t)` peak, an idle every 50 ms.
    template <typename Level>
    void play(double seconds, Level dbfs) {
        std::vector<float> left(kBlock), right(kBlock);
        float* channels[] = {left.data(), right.data()};
        for (int block = 0; block < seconds * kRate / kBlock; ++block) {
            fillTone(dbfs(block * kBlock / kRate), left, right);
            record->processReplacing(record, channels, channels, kBlock);
            if (block % 5 == 4) {
                record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            }
        }
    }
    std::uint32_t pixel(int x, int y) const { return window->pixel(x, y); }
    /// The pixels of a box, row by row.
    std::vector<std::uint32_t> box(const loudness_layout::Box& area) const;
    /// The graph's pixels, row by row.
    std::vector<std::uint32_t> graph() const { return box(loudness_layout::kHistoryPlot); }
    /// Pixels of `colour` in a box of the panel.
    int count(const loudness_layout::Box& area, CRgbColour colour) const;
    void writePng(const char* path) const;
    /// Sets a parameter as the host does, and idles.
    void set(VstInt32 index, float value);

    /// The host's record of gestures, null once the host closed the fixture's effect; its
    /// idles; and the callback on which it closes the effect (-1: none).
    static std::vector<Request>* requests;
    static int hostIdles;
    static VstInt32 closeOn;

    CHeadlessPlatform platform;
    std::vector<Request> seen;
    AEffect* record = nullptr;
    CHeadlessWindow* window = nullptr;
    int parentWindow = 0;
    double phase = 0.0;

  private:
    static VstIntPtr host(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                          float opt);
    /// One block of the tone at `dbfs` peak on both channels, going on from the last.
    void fillTone(double dbfs, std::vector<float>& left, std::vector<float>& right);
};
