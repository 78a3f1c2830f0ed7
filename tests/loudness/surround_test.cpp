// Surround programmes: the channel layouts users name, and what the meter reads from 5.0, 5.1
// and 7.1 by the weight of each channel's role.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "loudness/channel_layout.h"
#include "loudness/loudness_meter.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSilent = -1000.0;

/// A 1 kHz tone at `dbfs` peak on each channel (kSilent for none), `seconds` long.
std::vector<std::vector<float>> tones(double rate, const std::vector<double>& dbfs,
                                      double seconds) {
    std::vector<std::vector<float>> channels;
    for (const double level : dbfs) {
        const double amplitude = level <= kSilent ? 0.0 : std::pow(10.0, level / 20.0);
        channels.emplace_back(static_cast<std::size_t>(rate * seconds));
        for (std::size_t i = 0; i < channels.back().size(); ++i) {
            channels.back()[i] =
                static_cast<float>(amplitude * std::sin(2 * kPi * 1000 * i / rate));
        }
    }
    return channels;
}

/// Feeds every channel in blocks of `block` frames.
void feed(LoudnessMeter& meter, const std::vector<std::vector<float>>& channels,
          std::size_t block) {
    for (std::size_t at = 0; at < channels[0].size(); at += block) {
        const float* in[LoudnessMeter::kMaxChannels] = {};
        for (std::size_t c = 0; c < channels.size(); ++c) {
            in[c] = channels[c].data() + at;
        }
        meter.process(in, std::min(block, channels[0].size() - at));
    }
}

ChannelLayout layout(const std::string& list, int channels) {
    std::string error;
    const auto parsed = ChannelLayout::parse(list, channels, error);
    EXPECT_TRUE(parsed) << error;
    return parsed.value_or(*ChannelLayout::standard(1));
}

TEST(ChannelLayoutTest, StandardLayoutsNameTheirChannelsAndReadBackAsParsed) {
    const struct {
        int channels;
        const char* name;
        const char* list;
    } cases[] = {{1, "mono", "M"},
                 {2, "stereo", "L,R"},
                 {5, "5.0", "L,R,C,Ls,Rs"},
                 {6, "5.1", "L,R,C,LFE,Ls,Rs"},
                 {8, "7.1", "L,R,C,LFE,Ls,Rs,Lrs,Rrs"}};
    for (const auto& c : cases) {
        const auto standard = ChannelLayout::standard(c.channels);
        ASSERT_TRUE(standard) << c.channels;
        EXPECT_EQ(standard->name(), c.name);
        EXPECT_EQ(standard->list(), c.list);
        EXPECT_EQ(layout(c.list, c.channels), *standard);
    }
    for (const int channels : {0, 3, 4, 7, 9}) {
        EXPECT_FALSE(ChannelLayout::standard(channels)) << channels;
    }
    EXPECT_EQ(layout(" l, r ,lfe", 3).name(), "2.1");
    EXPECT_EQ(layout("L,R,C,LFE,Lss,Rss,Lb,Rb", 8), *ChannelLayout::standard(8));
}

TEST(ChannelLayoutTest, ParsingSaysWhatIsWrongWithAList) {
    const struct {
        const char* list;
        int channels;
        const char* error;
    } cases[] = {
        {"L,R,C,LFE,Ls,Sw", 6,
         "unknown channel \"Sw\" in \"L,R,C,LFE,Ls,Sw\" (known: M, L, R, C, "
         "LFE, Ls, Rs, Lrs, Rrs)"},
        {"L,,R", 2, "unknown channel \"\" in \"L,,R\""},
        {"L,R,L", 3, "channel L named twice in \"L,R,L\""},
        {"L,R", 6, "\"L,R\" names 2 channels, but there are 6"},
        {"L,R,C,LFE,Ls,Rs", 9, "9 channels; from 1 to 8 can be measured"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ChannelLayout::parse(c.list, c.channels, error)) << c.list;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
}

TEST(SurroundLoudnessTest, EbuCaseSixReadsMinus23WithAndWithoutASilentLfe) {
    const struct {
        const char* list;
        std::vector<double> dbfs;
    } cases[] = {{"L,R,C,Ls,Rs", {-28, -28, -24, -30, -30}},
                 {"L,R,C,LFE,Ls,Rs", {-28, -28, -24, kSilent, -30, -30}},
                 {"L,R,C,Ls,Rs,LFE", {-28, -28, -24, -30, -30, kSilent}}};
    for (const auto& c : cases) {
        LoudnessMeter meter;
        ASSERT_TRUE(meter.setup(48000.0, layout(c.list, static_cast<int>(c.dbfs.size()))));
        feed(meter, tones(48000.0, c.dbfs, 20.0), 4800);
        for (const double reading : {meter.integrated(), meter.momentary(), meter.shortTerm()}) {
            EXPECT_NEAR(reading, -23.0, 0.1) << c.list;
        }
        EXPECT_NEAR(meter.truePeak(), -24.0, 0.1) << c.list;
    }
}

TEST(SurroundLoudnessTest, EachChannelCountsByTheWeightOfItsRoleAndTheLfeNotAtAll) {
    const ChannelLayout surround = *ChannelLayout::standard(8);
    const double louder[] = {0, 0, 0, -1, 1.4922, 1.4922, 0, 0};  // dB over L; -1: excluded
    double left = 0.0;
    for (int tonal = 0; tonal < 8; ++tonal) {
        std::vector<double> dbfs(8, kSilent);
        dbfs[tonal] = -20.0;
        LoudnessMeter meter;
        ASSERT_TRUE(meter.setup(44100.0, surround));
        feed(meter, tones(44100.0, dbfs, 5.0), 1000);
        left = tonal == 0 ? meter.momentary() : left;
        if (louder[tonal] < 0) {
            EXPECT_EQ(meter.integrated(), LoudnessMeter::kUndefined) << tonal;
            EXPECT_EQ(meter.maxMomentary(), LoudnessMeter::kUndefined) << tonal;
        } else {
            EXPECT_NEAR(meter.momentary() - left, louder[tonal], 1e-3) << tonal;
        }
        EXPECT_NEAR(meter.truePeak(tonal), -20.0, 0.05) << tonal;
        EXPECT_NEAR(meter.truePeak(), -20.0, 0.05) << tonal;
    }
    EXPECT_NEAR(left, -23.01, 0.05);
}

TEST(SurroundLoudnessTest, AnySplitIntoBlocksGivesTheSameReadingsWithSixAndEightChannels) {
    for (const int count : {6, 8}) {
        std::mt19937 random(static_cast<unsigned>(count));
        std::normal_distribution<float> noise(0.0f, 0.1f);
        std::vector<std::vector<float>> channels(static_cast<std::size_t>(count),
                                                 std::vector<float>(48000 * 8));
        for (auto& channel : channels) {
            std::generate(channel.begin(), channel.end(), [&] { return noise(random); });
        }
        std::vector<double> first;
        for (const std::size_t block : {1, 13, 480, 1024, 5000}) {
            LoudnessMeter meter;
            ASSERT_TRUE(meter.setup(48000.0, *ChannelLayout::standard(count)));
            feed(meter, channels, block);
            std::vector<double> readings = {meter.integrated(),    meter.momentary(),
                                            meter.shortTerm(),     meter.maxMomentary(),
                                            meter.loudnessRange(), meter.truePeak()};
            for (int c = 0; c < count; ++c) {
                readings.push_back(meter.truePeak(c));
                readings.push_back(meter.samplePeak(c));
            }
            first = first.empty() ? readings : first;
            EXPECT_EQ(readings, first) << count << " channels, blocks of " << block;
        }
    }
}

}  // namespace
