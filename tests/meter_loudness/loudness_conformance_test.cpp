// The EBU minimum-requirement cases, played at 48 kHz through the plug-in's record and
// read back as a host reads them: from the readings' display texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "meter_loudness/loudness_parameters.h"
#include "tests/host/test_host.h"
#include "tests/meter_loudness/conformance_cases.h"

namespace {

using conformance::kRate;
using conformance::kSilence;
using conformance::Tone;
using conformance::tones;

class LoudnessPlugin {
  public:
    LoudnessPlugin() {
        host.sampleRateAnswer = static_cast<VstIntPtr>(kRate);
        plugin = PluginInstance::create();
    }
    /// Plays the same samples on both channels, in blocks of `frames` and a shorter last one.
    void play(const std::vector<float>& samples, int frames = 512) {
        for (std::size_t start = 0; start < samples.size(); start += frames) {
            const auto length =
                static_cast<int>(std::min<std::size_t>(frames, samples.size() - start));
            StereoBlock block(length);
            for (int channel = 0; channel < 2; ++channel) {
                std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(start), length,
                            block.input[channel].begin());
            }
            plugin->process(block);
        }
    }
    /// The reading as its display text says, "-inf" as minus infinity.
    double read(VstInt32 index) {
        return std::strtod(plugin->text(effGetParamDisplay, index, kVstMaxLabelLen).c_str(),
                           nullptr);
    }

    TestHost host;
    std::unique_ptr<PluginInstance> plugin;
};

TEST(LoudnessMinimumRequirements, ReadingsWithinTolerance) {
    for (const conformance::Case& c : conformance::minimumRequirementCases()) {
        SCOPED_TRACE(c.name);
        LoudnessPlugin meter;
        ASSERT_TRUE(meter.plugin);
        meter.play(c.signal);
        for (const conformance::Expectation& e : c.expected) {
            const double reading = meter.read(e.reading);
            EXPECT_GE(reading, e.value - e.below - 1e-9) << "reading " << e.reading;
            EXPECT_LE(reading, e.value + e.above + 1e-9) << "reading " << e.reading;
        }
    }
}

/// Tech 3341 cases 10 and 13: a tone that starts anywhere reaches the same maximum.
TEST(LoudnessMinimumRequirements, MaximaWhereverTheToneStarts) {
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        LoudnessPlugin shortTerm;
        LoudnessPlugin momentary;
        ASSERT_TRUE(shortTerm.plugin && momentary.plugin);
        shortTerm.play(tones({{i * 0.15, kSilence}, {3.0, -23.0}, {1.0, kSilence}}), 441);
        momentary.play(tones({{i * 0.02, kSilence}, {0.4, -23.0}, {1.0, kSilence}}), 441);
        EXPECT_NEAR(shortTerm.read(loudness::kMaxShortTerm), -23.0, 0.1 + 1e-9);
        EXPECT_NEAR(momentary.read(loudness::kMaxMomentary), -23.0, 0.1 + 1e-9);
    }
}

/// Tech 3341 cases 11 and 14: one live signal, each tone louder; the maximum follows.
TEST(LoudnessMinimumRequirements, LiveMaximaFollowEachTone) {
    LoudnessPlugin shortTerm;
    LoudnessPlugin momentary;
    ASSERT_TRUE(shortTerm.plugin && momentary.plugin);
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        const double level = -38.0 + i;
        shortTerm.play(tones({{i * 0.15, kSilence}, {3.0, level}, {3.0 - i * 0.15, kSilence}}));
        momentary.play(tones({{i * 0.02, kSilence}, {0.4, level}, {0.4 - i * 0.02, kSilence}}));
        EXPECT_NEAR(shortTerm.read(loudness::kMaxShortTerm), level, 0.1 + 1e-9);
        EXPECT_NEAR(momentary.read(loudness::kMaxMomentary), level, 0.1 + 1e-9);
    }
}

}  // namespace
