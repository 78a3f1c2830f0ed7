// The loudness meter following the host's transport and measuring mono, through its record
// with a host that answers the time request: each reading against a bare meter fed only
// the audio that should count.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "loudness/loudness_meter.h"
#include "meter_loudness/loudness_parameters.h"
#include "tests/host/test_host.h"

namespace {

using namespace loudness;
constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr double kPi = 3.14159265358979323846;

/// One stretch of the programme: a 1 kHz tone at `amplitude` on both channels, the host's
/// transport playing or not.
struct Stretch {
    double seconds;
    float amplitude;
    bool playing;
};
/// Played 20 s, stopped 10 s with audio still coming, played 20 s.
const std::vector<Stretch> kPlayStopPlay = {
    {20.0, 0.3f, true}, {10.0, 0.9f, false}, {20.0, 0.05f, true}};

std::string oneDecimal(double level) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", level);
    return text;
}

class LoudnessTransport : public ::testing::Test {
  protected:
    void SetUp() override {
        host.sampleRateAnswer = static_cast<VstIntPtr>(kRate);
        host.calls.clear();
        plugin = PluginInstance::create();
        ASSERT_TRUE(plugin);
        plugin->dispatch(effSetBlockSizeAndSampleRate, 0, kBlock, nullptr, kRate);
    }
    std::string display(VstInt32 index) {
        return plugin->text(effGetParamDisplay, index, kVstMaxLabelLen);
    }
    /// Plays the stretches through the plug-in, the transport as each says; feeds the
    /// stretches `counted` picks to `bare` as well, left channel only when it has one.
    template <typename Counted>
    void play(const std::vector<Stretch>& stretches, LoudnessMeter& bare, Counted counted) {
        StereoBlock block(kBlock);
        std::vector<float> tone(kBlock);
        std::size_t blocks = 0;
        for (std::size_t s = 0; s < stretches.size(); ++s) {
            const Stretch& stretch = stretches[s];
            time.flags = stretch.playing ? kVstTransportPlaying : 0;
            for (int b = 0; b < stretch.seconds * kRate / kBlock; ++b, ++blocks) {
                for (int i = 0; i < kBlock; ++i) {
                    tone[i] = stretch.amplitude *
                              static_cast<float>(std::sin(2.0 * kPi * 1000.0 * phase++ / kRate));
                }
                block.input[0] = block.input[1] = tone;
                plugin->process(block);
                const float* channels[] = {tone.data(), tone.data()};
                if (counted(s)) {
                    bare.process(channels, kBlock);
                }
            }
        }
        EXPECT_LE(host.count(audioMasterGetTime), static_cast<int>(blocks))
            << "at most one time request a block";
    }

    TestHost host;
    VstTimeInfo time{};
    std::unique_ptr<PluginInstance> plugin;
    double phase = 0.0;
};

TEST_F(LoudnessTransport, IntegratesWhatTheHostPlays) {
    struct Case {
        const char* name;
        int integrate;
        bool answersTime;
        VstIntPtr processLevel;
        std::vector<bool> counted;
    };
    const Case cases[] = {
        {"always", kIntegrateAlways, true, kVstProcessLevelRealtime, {true, true, true}},
        {"while playing",
         kIntegrateWhilePlaying,
         true,
         kVstProcessLevelRealtime,
         {true, false, true}},
        {"reset on start",
         kIntegrateResetOnStart,
         true,
         kVstProcessLevelRealtime,
         {false, false, true}},
        {"no time info",
         kIntegrateWhilePlaying,
         false,
         kVstProcessLevelRealtime,
         {true, true, true}},
        {"offline render",
         kIntegrateWhilePlaying,
         true,
         kVstProcessLevelOffline,
         {true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        host.timeAnswer = c.answersTime ? &time : nullptr;
        host.processLevelAnswer = c.processLevel;
        plugin->setParameter(kIntegrate, valueOfChoice(c.integrate, kIntegrateChoices));
        LoudnessMeter bare;
        ASSERT_TRUE(bare.setup(kRate, 2));
        play(kPlayStopPlay, bare, [&](std::size_t s) { return c.counted[s]; });
        EXPECT_EQ(display(kIntegrated), oneDecimal(bare.integrated()));
        EXPECT_EQ(display(kRange), oneDecimal(bare.loudnessRange()));
        EXPECT_EQ(display(kMaxMomentary), oneDecimal(bare.maxMomentary()));
        EXPECT_EQ(display(kTruePeak), oneDecimal(bare.truePeak()));
        // Momentary and short-term follow the audio whatever is gathered.
        EXPECT_EQ(display(kShortTerm), oneDecimal(bare.shortTerm()));
    }
}

TEST_F(LoudnessTransport, PauseHoldsEverythingGathered) {
    LoudnessMeter bare;
    ASSERT_TRUE(bare.setup(kRate, 2));
    play({{10.0, 0.3f, true}}, bare, [](std::size_t) { return true; });
    plugin->setParameter(kPause, valueOfChoice(kPaused, kPauseChoices));
    play({{10.0, 0.9f, true}}, bare, [](std::size_t) { return false; });
    EXPECT_EQ(display(kIntegrated), oneDecimal(bare.integrated()));
    plugin->setParameter(kPause, valueOfChoice(kRunning, kPauseChoices));
    play({{10.0, 0.1f, true}}, bare, [](std::size_t) { return true; });
    EXPECT_EQ(display(kIntegrated), oneDecimal(bare.integrated()));
}

TEST_F(LoudnessTransport, MonoReadsTheLeftInputAsOneChannel) {
    struct Case {
        int channels;
        int bareChannels;
    };
    for (const Case c : {Case{kMono, 1}, Case{kStereo, 2}}) {
        SCOPED_TRACE(c.channels);
        SetUp();
        plugin->setParameter(kChannels, valueOfChoice(c.channels, kChannelChoices));
        LoudnessMeter bare;
        ASSERT_TRUE(bare.setup(kRate, c.bareChannels));
        play({{8.0, 0.25f, true}, {4.0, 0.7f, true}}, bare, [](std::size_t) { return true; });
        for (VstInt32 index : {kMomentary, kShortTerm, kIntegrated, kMaxMomentary, kRange}) {
            const double level = index == kMomentary    ? bare.momentary()
                                 : index == kShortTerm  ? bare.shortTerm()
                                 : index == kIntegrated ? bare.integrated()
                                 : index == kRange      ? bare.loudnessRange()
                                                        : bare.maxMomentary();
            EXPECT_EQ(display(index), oneDecimal(level)) << index;
        }
    }
}

}  // namespace
