// The EBU minimum-requirement cases and the stereo cases of the ITU's conformance set, played
// at 48 kHz through the plug-in's record and read back as a host reads them: from the
// readings' display texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "meter_loudness/loudness_parameters.h"
#include "tests/host/test_host.h"
#include "tests/loudness/conformance_signals.h"
#include "tests/loudness/true_peak_burst.h"

namespace {

constexpr double kRate = 48000.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kSilence = -1000.0;

/// A stretch of 1 kHz tone, in phase on both channels, at a peak level in dBFS.
struct Tone {
    double seconds;
    double dbfs;
};

/// Tones played one after another, the phase running on.
std::vector<float> tones(const std::vector<Tone>& parts) {
    std::vector<float> samples;
    double phase = 0.0;
    for (const Tone& part : parts) {
        const double amplitude = part.dbfs <= kSilence ? 0.0 : std::pow(10.0, part.dbfs / 20.0);
        const auto frames = static_cast<std::size_t>(std::lround(part.seconds * kRate));
        for (std::size_t i = 0; i < frames; ++i) {
            samples.push_back(static_cast<float>(amplitude * std::sin(phase)));
            phase += 2.0 * kPi * 1000.0 / kRate;
        }
    }
    return samples;
}

/// One second of a sine at `rate / divisor`, faded in and out over 10 ms.
std::vector<float> peakTone(double divisor, double amplitude, double phaseDegrees) {
    std::vector<float> samples(static_cast<std::size_t>(kRate));
    const double fade = 0.01 * kRate;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i);
        const double gain =
            std::min({1.0, (t + 1.0) / fade, static_cast<double>(samples.size() - i) / fade});
        samples[i] = static_cast<float>(
            gain * amplitude * std::sin(2.0 * kPi * t / divisor + phaseDegrees * kPi / 180.0));
    }
    return samples;
}

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

struct Expectation {
    VstInt32 reading;
    double value;
    double below;  ///< how far under `value` a reading may be
    double above;
};

struct Case {
    std::string name;
    std::vector<float> signal;
    std::vector<Expectation> expected;
};

std::vector<Expectation> within(std::vector<VstInt32> readings, double value, double tolerance) {
    std::vector<Expectation> expected;
    for (VstInt32 reading : readings) {
        expected.push_back({reading, value, tolerance, tolerance});
    }
    return expected;
}

Expectation truePeak(double value) {
    return {loudness::kTruePeak, value, 0.4, 0.2};
}

std::vector<Case> minimumRequirementCases() {
    using namespace loudness;
    const std::vector<VstInt32> msi = {kMomentary, kShortTerm, kIntegrated};
    std::vector<Tone> case9;
    std::vector<Tone> case12;
    for (int i = 0; i < 5; ++i) {
        case9.insert(case9.end(), {{1.34, -20.0}, {1.66, -30.0}});
    }
    for (int i = 0; i < 25; ++i) {
        case12.insert(case12.end(), {{0.18, -20.0}, {0.22, -30.0}});
    }
    return {
        {"3341-1", tones({{20.0, -23.0}}), within(msi, -23.0, 0.1)},
        {"3341-2", tones({{20.0, -33.0}}), within(msi, -33.0, 0.1)},
        {"3341-3", tones({{10.0, -36.0}, {60.0, -23.0}, {10.0, -36.0}}),
         within({kIntegrated}, -23.0, 0.1)},
        {"3341-4",
         tones({{10.0, -72.0}, {10.0, -36.0}, {60.0, -23.0}, {10.0, -36.0}, {10.0, -72.0}}),
         within({kIntegrated}, -23.0, 0.1)},
        {"3341-5", tones({{20.0, -26.0}, {20.1, -20.0}, {20.0, -26.0}}),
         within({kIntegrated}, -23.0, 0.1)},
        {"3341-9", tones(case9), within({kShortTerm, kMaxShortTerm}, -23.0, 0.1)},
        {"3341-12", tones(case12), within({kMomentary, kMaxMomentary}, -23.0, 0.1)},
        {"3341-15", peakTone(4.0, 0.5, 0.0), {truePeak(-6.0)}},
        {"3341-16", peakTone(4.0, 0.5, 45.0), {truePeak(-6.0)}},
        {"3341-17", peakTone(6.0, 0.5, 60.0), {truePeak(-6.0)}},
        {"3341-18", peakTone(8.0, 0.5, 67.5), {truePeak(-6.0)}},
        {"3341-19", peakTone(4.0, 1.41, 45.0), {truePeak(3.0)}},
        {"3341-20", truePeakBurst(0), {truePeak(0.0)}},
        {"3341-21", truePeakBurst(1), {truePeak(0.0)}},
        {"3341-22", truePeakBurst(2), {truePeak(0.0)}},
        {"3341-23", truePeakBurst(3), {truePeak(0.0)}},
        {"3342-1", tones({{20.0, -20.0}, {20.0, -30.0}}), within({kRange}, 10.0, 1.0)},
        {"3342-2", tones({{20.0, -20.0}, {20.0, -15.0}}), within({kRange}, 5.0, 1.0)},
        {"3342-3", tones({{20.0, -40.0}, {20.0, -20.0}}), within({kRange}, 20.0, 1.0)},
        {"3342-4",
         tones({{20.0, -50.0}, {20.0, -35.0}, {20.0, -20.0}, {20.0, -35.0}, {20.0, -50.0}}),
         within({kRange}, 15.0, 1.0)},
    };
}

/// Tones across the band at -23 and -24 LUFS, a sweep, and what lies under each gate.
std::vector<Case> conformanceSetCases() {
    using namespace conformance;
    std::vector<Case> all;
    for (const double lufs : {-23.0, -24.0}) {
        for (const double frequency : {25.0, 100.0, 500.0, 1000.0, 2000.0, 10000.0}) {
            const std::string name = std::to_string(frequency) + " Hz at " + std::to_string(lufs);
            all.push_back({name, sine(frequency, amplitudeFor(frequency, lufs, 2.0), 20.0),
                           within({loudness::kIntegrated}, lufs, 0.1)});
        }
    }
    all.push_back({"sweep", sweep(0.1, 20.0),
                   within({loudness::kIntegrated}, sweepLoudness(0.1, 20.0, 2.0), 0.1)});
    all.push_back({"absolute gate", joined(tone(-69.5, 10.0, 2.0), tone(-75.0, 10.0, 2.0)),
                   within({loudness::kIntegrated}, -69.5, 0.1)});
    all.push_back({"relative gate", joined(tone(-10.0, 20.0, 2.0), tone(-30.0, 10.0, 2.0)),
                   within({loudness::kIntegrated}, -10.0, 0.1)});
    return all;
}

void expectReadings(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoudnessPlugin meter;
        ASSERT_TRUE(meter.plugin);
        meter.play(c.signal);
        for (const Expectation& e : c.expected) {
            const double reading = meter.read(e.reading);
            EXPECT_GE(reading, e.value - e.below - 1e-9) << "reading " << e.reading;
            EXPECT_LE(reading, e.value + e.above + 1e-9) << "reading " << e.reading;
        }
    }
}

TEST(LoudnessMinimumRequirements, ReadingsWithinTolerance) {
    expectReadings(minimumRequirementCases());
}

TEST(LoudnessConformanceSet, StereoCasesReadTheirLevels) {
    expectReadings(conformanceSetCases());
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
