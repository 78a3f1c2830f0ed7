// The synthetic cases of the ITU's conformance set at 48 kHz, in the channel layouts they
// state: each integrated reading within 0.02 LU of its known value and of libebur128's.
#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "loudness/channel_layout.h"
#include "loudness/loudness_meter.h"
#include "tests/loudness/conformance_signals.h"

namespace {

using namespace conformance;

constexpr double kUndefined = LoudnessMeter::kUndefined;

struct Case {
    std::string name;
    const char* layout;
    std::vector<std::vector<float>> channels;  ///< an empty one is silent
    double expected;
    /// How far from `expected` it may read; libebur128's reading is always held to 0.02.
    double tolerance = 0.02;
};

int oracleChannel(ChannelRole role) {
    switch (role) {
        case ChannelRole::Right:
            return EBUR128_RIGHT;
        case ChannelRole::Centre:
            return EBUR128_CENTER;
        case ChannelRole::Lfe:
            return EBUR128_UNUSED;
        case ChannelRole::LeftSurround:
            return EBUR128_LEFT_SURROUND;
        case ChannelRole::RightSurround:
            return EBUR128_RIGHT_SURROUND;
        case ChannelRole::LeftRearSurround:
            return EBUR128_Mp135;
        case ChannelRole::RightRearSurround:
            return EBUR128_Mm135;
        default:
            return EBUR128_LEFT;
    }
}

/// The integrated loudness of the meter and of libebur128.
std::pair<double, double> measure(const Case& c) {
    std::string error;
    const auto layout = ChannelLayout::parse(c.layout, static_cast<int>(c.channels.size()), error);
    EXPECT_TRUE(layout) << error;
    std::size_t frames = 0;
    for (const auto& channel : c.channels) {
        frames = std::max(frames, channel.size());
    }
    std::vector<std::vector<float>> planes(c.channels.size(), std::vector<float>(frames));
    std::vector<float> interleaved;
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::size_t ch = 0; ch < c.channels.size(); ++ch) {
            planes[ch][i] = i < c.channels[ch].size() ? c.channels[ch][i] : 0.0f;
            interleaved.push_back(planes[ch][i]);
        }
    }
    LoudnessMeter meter;
    EXPECT_TRUE(meter.setup(kRate, *layout));
    const float* in[LoudnessMeter::kMaxChannels] = {};
    for (std::size_t ch = 0; ch < planes.size(); ++ch) {
        in[ch] = planes[ch].data();
    }
    meter.process(in, frames);

    ebur128_state* oracle = ebur128_init(static_cast<unsigned>(planes.size()),
                                         static_cast<unsigned>(kRate), EBUR128_MODE_I);
    for (int ch = 0; ch < layout->channels(); ++ch) {
        ebur128_set_channel(oracle, static_cast<unsigned>(ch), oracleChannel(layout->role(ch)));
    }
    ebur128_add_frames_float(oracle, interleaved.data(), frames);
    double expected = 0.0;
    ebur128_loudness_global(oracle, &expected);
    ebur128_destroy(&oracle);
    return {meter.integrated(), expected};
}

std::vector<Case> cases() {
    std::vector<Case> all;
    for (const double lufs : {-23.0, -24.0}) {
        for (const double frequency : {25.0, 100.0, 500.0, 1000.0, 2000.0, 10000.0}) {
            const auto s = sine(frequency, amplitudeFor(frequency, lufs, 2.0), 20.0);
            all.push_back({"stereo " + std::to_string(frequency) + " Hz", "L,R", {s, s}, lufs});
        }
        const double weights = 5 + 2 * ChannelLayout::kSurroundWeight;
        const auto s = tone(lufs, 20.0, weights);
        all.push_back({"7.1", "L,R,C,LFE,Ls,Rs,Lrs,Rrs", {s, s, s, s, s, s, s, s}, lufs});
    }
    const auto s = sweep(0.1, 20.0);
    all.push_back({"sweep", "L,R", {s, s}, sweepLoudness(0.1, 20.0, 2.0), 0.05});
    // Channel checks on 5.1: each channel alone, at the weight of its role.
    const auto t = tone(-23.0, 10.0);
    all.push_back({"5.1 left", "L,R,C,LFE,Ls,Rs", {t, {}, {}, {}, {}, {}}, -23.0});
    all.push_back({"5.1 right", "L,R,C,LFE,Ls,Rs", {{}, t, {}, {}, {}, {}}, -23.0});
    all.push_back({"5.1 centre", "L,R,C,LFE,Ls,Rs", {{}, {}, t, {}, {}, {}}, -23.0});
    all.push_back({"5.1 LFE", "L,R,C,LFE,Ls,Rs", {{}, {}, {}, t, {}, {}}, kUndefined});
    const double surround = -23.0 + 10 * std::log10(ChannelLayout::kSurroundWeight);
    all.push_back({"5.1 left surround", "L,R,C,LFE,Ls,Rs", {{}, {}, {}, {}, t, {}}, surround});
    all.push_back({"5.1 right surround", "L,R,C,LFE,Ls,Rs", {{}, {}, {}, {}, {}, t}, surround});
    // Summing: powers add, each channel by its weight.
    all.push_back(
        {"summing L+R+C", "L,R,C,LFE,Ls,Rs", {t, t, t, {}, {}, {}}, -23.0 + 10 * std::log10(3.0)});
    all.push_back({"summing all",
                   "L,R,C,LFE,Ls,Rs",
                   {t, t, t, t, t, t},
                   -23.0 + 10 * std::log10(3.0 + 2 * ChannelLayout::kSurroundWeight)});
    // Gates: what lies below each counts for nothing.
    const auto absolute = joined(tone(-69.5, 10.0, 2.0), tone(-75.0, 10.0, 2.0));
    all.push_back({"absolute gate", "L,R", {absolute, absolute}, -69.5});
    const auto relative = joined(tone(-10.0, 20.0, 2.0), tone(-30.0, 10.0, 2.0));
    // The three blocks across the step hold 3/4, 1/2 and 1/4 of the loud part: above the gate.
    all.push_back(
        {"relative gate", "L,R", {relative, relative}, -10.0 + 10 * std::log10(198.515 / 200)});
    return all;
}

TEST(ConformanceCasesTest, EachReadsItsLevelAsLibebur128Does) {
    for (const Case& c : cases()) {
        const auto [reading, oracle] = measure(c);
        if (std::isinf(c.expected)) {
            EXPECT_EQ(reading, c.expected) << c.name;
            EXPECT_EQ(oracle, c.expected) << c.name;
        } else {
            EXPECT_NEAR(reading, c.expected, c.tolerance) << c.name;
            EXPECT_NEAR(reading, oracle, 0.02) << c.name;
        }
    }
}

}  // namespace
