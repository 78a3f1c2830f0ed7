// The meter against libebur128 on signals that are not tones: every reading within a few
// hundredths of an LU, sample peaks exactly, true peaks within 0.1 dB. libebur128 takes a
// short-term value for Loudness Range once a second, where the meter takes one every 100 ms;
// the range is compared with that of libebur128's short-term readings every 100 ms.
#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "loudness/loudness_meter.h"
#include "loudness/loudness_units.h"
#include "tests/loudness/gating_reference.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Signal {
    std::string name;
    double rate;
    double seconds;
    /// The gain of each channel's noise at time t, in dB.
    std::function<double(double t, int channel)> gainDb;
};

double dB(double linear) {
    return 20.0 * std::log10(linear);
}

class Oracle {
  public:
    Oracle(double rate) : state(ebur128_init(2, static_cast<unsigned>(rate), kModes)) {}
    ~Oracle() { ebur128_destroy(&state); }
    void add(const std::vector<float>& interleaved) {
        ebur128_add_frames_float(state, interleaved.data(), interleaved.size() / 2);
    }
    double read(int (*reading)(ebur128_state*, double*)) const {
        double value = 0.0;
        reading(state, &value);
        return value;
    }
    double peak(int (*reading)(ebur128_state*, unsigned, double*), unsigned channel) const {
        double value = 0.0;
        reading(state, channel, &value);
        return dB(value);
    }

  private:
    static constexpr int kModes = EBUR128_MODE_M | EBUR128_MODE_S | EBUR128_MODE_I |
                                  EBUR128_MODE_LRA | EBUR128_MODE_SAMPLE_PEAK |
                                  EBUR128_MODE_TRUE_PEAK;
    ebur128_state* state;
};

void expectLoudnessNear(double actual, double expected, const std::string& what) {
    if (expected > -70.0 || actual > -70.0) {
        EXPECT_NEAR(actual, expected, 0.05) << what;
    }
}

TEST(LoudnessOracleTest, ReadingsMatchLibebur128) {
    const std::vector<Signal> signals = {
        {"shaped noise", 48000, 40,
         [](double t, int c) { return -30 + 15 * std::sin(2 * kPi * t / (13 + 4 * c)); }},
        {"bursts", 48000, 30,
         [](double t, int c) { return std::fmod(t + 0.3 * c, 0.7) < 0.2 ? -12 - t : -200; }},
        {"silence gaps", 44100, 40,
         [](double t, int) { return std::fmod(t, 7.0) < 4.5 ? -25 + 3 * std::sin(t) : -200; }},
        {"programme with a fade", 48000, 120, [](double t, int c) {
             const double scene = std::floor(t / 9) * 7.3;
             const double level = -35 + std::fmod(scene, 20) + 5 * std::sin(2 * kPi * t / 3.1);
             return t < 90 ? level - 3 * c : level - (t - 90) * 1.5;
         }}};
    for (const Signal& signal : signals) {
        std::mt19937 random(11);
        std::normal_distribution<float> noise(0.0f, 0.3f);
        LoudnessMeter meter;
        ASSERT_TRUE(meter.setup(signal.rate, 2));
        Oracle oracle(signal.rate);
        const auto step = static_cast<std::size_t>(signal.rate / 10);
        std::vector<float> channels[2], interleaved;
        double lowPass[2] = {};
        std::vector<double> shortTermPowers;
        for (std::size_t at = 0; at < signal.seconds * signal.rate; at += step) {
            interleaved.clear();
            for (int c = 0; c < 2; ++c) {
                channels[c].clear();
                for (std::size_t i = at; i < at + step; ++i) {
                    // Noise tilted towards the bass, so the K-weighting's both stages matter.
                    lowPass[c] = 0.9 * lowPass[c] + noise(random);
                    const double sample = std::pow(10, signal.gainDb(i / signal.rate, c) / 20);
                    channels[c].push_back(static_cast<float>(sample * lowPass[c]));
                }
            }
            for (std::size_t i = 0; i < step; ++i) {
                interleaved.push_back(channels[0][i]);
                interleaved.push_back(channels[1][i]);
            }
            const float* in[] = {channels[0].data(), channels[1].data()};
            meter.process(in, step);
            oracle.add(interleaved);
            const std::string when = signal.name + " at " + std::to_string(at / signal.rate);
            expectLoudnessNear(meter.momentary(), oracle.read(ebur128_loudness_momentary),
                               "momentary, " + when);
            const double shortTerm = oracle.read(ebur128_loudness_shortterm);
            expectLoudnessNear(meter.shortTerm(), shortTerm, "short-term, " + when);
            if (at + step >= 3 * signal.rate) {
                shortTermPowers.push_back(powerOf(shortTerm));
            }
        }
        EXPECT_NEAR(meter.integrated(), oracle.read(ebur128_loudness_global), 0.05) << signal.name;
        EXPECT_NEAR(meter.loudnessRange(), loudnessRangeOf(shortTermPowers), 0.05) << signal.name;
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(meter.samplePeak(c), oracle.peak(ebur128_sample_peak, c)) << signal.name;
            EXPECT_NEAR(meter.truePeak(c), oracle.peak(ebur128_true_peak, c), 0.1) << signal.name;
        }
    }
}

}  // namespace
