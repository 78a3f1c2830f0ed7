// The effect's published readings against the loudness meter itself, fed the same audio:
// after every block, whatever its length, each reading is the meter's, although integrated
// loudness and range are only read again after a gating step, at odd rates too. And the audio
// thread's part never allocates, new rates and resets included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "loudness/loudness_meter.h"
#include "meter_loudness/loudness_effect.h"
#include "tests/loudness/allocation_counter.h"

namespace {

/// The rate the host answers.
VstIntPtr hostRate = 44100;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400
                                        : (opcode == audioMasterGetSampleRate ? hostRate : 0);
}

// Rates whose 100 ms is no whole number of the meter's sub-blocks among them.
TEST(LoudnessEffectReadings, EqualTheMetersAfterEveryBlock) {
    for (int rate : {11025, 22050, 32000, 44100, 44056, 8015, 48000}) {
        SCOPED_TRACE(rate);
        hostRate = rate;
        LoudnessEffect effect(host);
        LoudnessMeter reference;
        ASSERT_TRUE(reference.setup(rate, 2));
        std::mt19937 random(7);
        std::uniform_int_distribution<int> length(1, 3000);
        std::normal_distribution<float> noise(0.0f, 1.0f);
        std::vector<float> left(3000), right(3000);
        float* channels[] = {left.data(), right.data()};
        int mismatches = 0;
        int historyMismatches = 0;
        for (double seconds = 0.0; seconds < 30.0;) {
            const int frames = length(random);
            // Noise whose level sweeps 30 dB up and down: the histograms keep moving.
            const float gain = 0.3f * std::pow(10.0f, -1.5f * (1.0f + std::sin(seconds / 3.0f)));
            for (int i = 0; i < frames; ++i) {
                left[i] = gain * noise(random);
                right[i] = gain * noise(random);
            }
            const float* const measured[] = {left.data(), right.data()};
            reference.process(measured, static_cast<std::size_t>(frames));
            effect.processReplacing(channels, channels, frames);
            seconds += frames / static_cast<double>(rate);
            // Range is undefined while integrated loudness is.
            const double integrated = reference.integrated();
            const double range =
                integrated == LoudnessMeter::kUndefined ? integrated : reference.loudnessRange();
            const double expected[loudness::kNumReadings] = {reference.momentary(),
                                                             reference.shortTerm(),
                                                             integrated,
                                                             range,
                                                             reference.truePeak(),
                                                             reference.maxMomentary(),
                                                             reference.maxShortTerm(),
                                                             1.0,
                                                             0.1 * reference.completedSteps()};
            for (VstInt32 index = 0; index < loudness::kNumReadings; ++index) {
                mismatches += effect.reading(index) != expected[index];
            }
            const auto points = reference.completedSteps() / LoudnessHistory::kGatingStepsPerPoint;
            historyMismatches += effect.history().size() != points;
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(historyMismatches, 0);
        EXPECT_GT(effect.reading(loudness::kRange), 1.0);
    }
}

TEST(LoudnessEffectReadings, ProcessNeverAllocatesWhateverItApplies) {
    hostRate = 44100;
    LoudnessEffect effect(host);
    std::vector<float> left(4096, 0.25f), right(4096, -0.125f);
    float* channels[] = {left.data(), right.data()};
    std::mt19937 random(3);
    std::uniform_int_distribution<int> length(1, 4096);
    int inProcess = 0;
    const float rates[] = {48000.0f, 8000.0f, 384000.0f, 44100.0f};
    for (float rate : rates) {
        effect.setSampleRate(rate);  // sets a meter up here, on the control thread
        effect.setParameter(loudness::kReset, 1.0f);
        const int before = allocationsSoFar();
        for (int block = 0; block < 300; ++block) {
            effect.processReplacing(channels, channels, length(random));
        }
        inProcess += allocationsSoFar() - before;
    }
    EXPECT_EQ(inProcess, 0);
    EXPECT_GT(effect.history().size(), 0u);
}

}  // namespace
