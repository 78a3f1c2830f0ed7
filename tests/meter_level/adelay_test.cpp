#include "meter_level/adelay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <string>

#include "tests/meter_level/recording_delay.h"

namespace {

bool failArrayAllocation = false;
long allocations = 0;

std::string display(ADelay& effect, VstInt32 index) {
    char text[16] = "";
    effect.getParameterDisplay(index, text);
    return text;
}

std::vector<float> constant(float value, std::size_t n = 512) {
    return std::vector<float>(n, value);
}

TEST(ADelayTest, ConstructsAndKeepsTheDelayInRange) {
    ADelay effect(testHost);
    EXPECT_EQ(effect.getAeffect()->flags, 28);  // no editor yet
    for (VstInt32 index = 0; index < 8; ++index) {
        EXPECT_EQ(effect.getParameter(index), index >= 1 && index <= 3 ? 1.0f : 0.0f);
    }
    effect.setParameter(0, 1.0f);
    EXPECT_EQ(display(effect, 0), "  13230");
    effect.setSampleRate(48000.0f);
    EXPECT_EQ(display(effect, 0), "  13230");  // kept until "Delay" is set again
    effect.setParameter(0, -1.0f);
    EXPECT_EQ(display(effect, 0), "      0");
    effect.setParameter(0, 1e30f);
    EXPECT_EQ(display(effect, 0), "  14400");

    failArrayAllocation = true;  // the program array is the effect's only array allocation
    EXPECT_THROW(ADelay failing(testHost), std::bad_alloc);
    failArrayAllocation = false;
}

TEST(ADelayTest, ProgramsRepublishTheirMeterValues) {
    RecordingDelay effect;
    char name[32];
    effect.setProgram(2);
    effect.getProgramName(name);
    EXPECT_STREQ(name, "Init 3");
    effect.setParameter(5, 0.5f);
    effect.run(constant(0.5f), constant(0.0f));  // a side channel at -12 dB
    effect.setProgram(0);
    EXPECT_EQ(effect.getParameter(5), 0.0f);
    EXPECT_EQ(effect.getParameter(2), 1.0f);
    effect.setProgram(2);
    EXPECT_EQ(effect.getParameter(5), 0.5f);
    EXPECT_NEAR(effect.getParameter(2), 1.349485f, 1e-5f);
}

TEST(ADelayTest, PublishesTheReadingsOfBothChannels) {
    RecordingDelay effect;
    effect.setParameter(6, 0.5f);
    std::vector<float> first = effect.run(constant(0.5f), constant(0.0f));
    ASSERT_EQ(first.size(), 6u);
    EXPECT_NEAR(first[2], 0.42474f, 1e-5f);
    EXPECT_NEAR(first[4], 0.42474f, 1e-5f);
    EXPECT_EQ(first[1], 1.0f);
    EXPECT_EQ(first[3], 1.0f);
    EXPECT_EQ(first[5], 1.0f);
    EXPECT_EQ(effect.getParameter(2), 1.0f);  // a poll sees channel 1

    for (int block = 0; block < 400; ++block) {
        effect.run(constant(0.5f), constant(0.0f));
    }
    EXPECT_NEAR(effect.run(constant(0.5f), constant(0.0f))[0], 0.46237f, 1e-4f);
    effect.setParameter(7, 1.0f);
    EXPECT_NEAR(effect.run(constant(0.5f), constant(0.0f))[0], 0.42474f, 1e-4f);

    effect.setParameter(6, 0.0f);
    EXPECT_EQ(effect.run(constant(0.5f), constant(0.0f))[4], 0.0f);

    effect.setParameter(5, 1.0f);  // mono: both channels meter the same sum
    effect.resume();
    const std::vector<float> mono = effect.run(constant(0.5f), constant(-0.25f));
    for (int pair = 0; pair < 3; ++pair) {
        EXPECT_EQ(mono[2 * pair + 1], mono[2 * pair] + 1.0f);
    }
}

TEST(ADelayTest, WithNoViewAHostReadsWhatTheSixPublicationsWouldLeave) {
    // The view comes and goes; whether or not channel 0's values were worked out meanwhile,
    // everything read afterwards is what an effect always showing its meters gives.
    RecordingDelay shown;
    RecordingDelay hidden;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> frames(1, 300);
    for (RecordingDelay* effect : {&shown, &hidden}) {
        effect->setParameter(6, 0.5f);
    }
    std::normal_distribution<float> noise(0.0f, 0.1f);
    for (int block = 0; block < 800; ++block) {
        // Noise, then steady levels (readings that stay put), then silence.
        const int phase = block % 200;
        std::vector<float> left(static_cast<std::size_t>(frames(random)), 0.9f);
        std::vector<float> right(left.size(), -0.6f);
        for (std::size_t i = 0; i < left.size() && phase < 60; ++i) {
            left[i] = noise(random);
            right[i] = block < 400 ? noise(random) : 0.5f * left[i];
        }
        if (phase >= 140) {
            std::fill(left.begin(), left.end(), 0.0f);
            std::fill(right.begin(), right.end(), 0.0f);
        }
        hidden.showsMeters = block % 7 < 3;
        const std::vector<float> expected = shown.run(left, right);
        const std::vector<float> values = hidden.run(left, right);
        if (hidden.showsMeters) {
            ASSERT_EQ(values, expected) << "block " << block;
        } else {
            ASSERT_TRUE(values.empty());
        }
        for (VstInt32 index = 1; index <= 3; ++index) {
            ASSERT_EQ(hidden.getParameter(index), shown.getParameter(index)) << "block " << block;
        }
        // Each strip's own level, shown or not: the level of its meter's published value.
        for (VstInt32 index = kStripLevels; index < kTableEntryCount; ++index) {
            ASSERT_EQ(hidden.getParameter(index), shown.getParameter(index)) << "block " << block;
            ASSERT_EQ(shown.getParameter(index),
                      decodeMeter(expected[std::size_t(index - kStripLevels)]).level);
        }
    }
}

TEST(ADelayTest, PassesAudioThroughUnchangedAndMatchesSeparateDetectors) {
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 0.3f);
    for (float mode : {0.0f, 0.2f, 0.5f, 1.0f}) {
        RecordingDelay effect;
        effect.setParameter(0, mode == 0.0f ? 0.0f : 0.01f);
        effect.setParameter(5, mode);
        effect.setParameter(6, 0.5f);
        Detector expected[2];
        for (Detector& detector : expected) {
            detector.setup(0.84f, 0.84f, 2.3799999f, 1.0f, 44100.0f);
        }
        std::vector<float> history[2];
        const std::size_t lag = static_cast<std::size_t>(effect.meterEngine().delaySamples.load());
        for (std::size_t n : {300u, 1u, 4096u, 128u, 77u}) {
            std::vector<float> left(n), right(n), outLeft(n), outRight(n);
            for (std::size_t i = 0; i < n; ++i) {
                left[i] = noise(random);
                right[i] = noise(random);
                const float mid = (left[i] + right[i]) * 0.5f;
                history[0].push_back(mode < 0.3f ? left[i] : mid);
                history[1].push_back(mode < 0.3f   ? right[i]
                                     : mode < 0.7f ? (left[i] - right[i]) * 0.5f
                                                   : mid);
            }
            float* inputs[] = {left.data(), right.data()};
            float* outputs[] = {outLeft.data(), outRight.data()};
            effect.processReplacing(inputs, outputs, static_cast<VstInt32>(n));
            EXPECT_EQ(std::memcmp(left.data(), outLeft.data(), n * sizeof(float)), 0);
            EXPECT_EQ(std::memcmp(right.data(), outRight.data(), n * sizeof(float)), 0);
            for (int c = 0; c < 2; ++c) {
                std::vector<float> delayed(n, 0.0f);
                const std::size_t end = history[c].size();
                for (std::size_t i = 0; i < n; ++i) {
                    const std::size_t at = end - n + i;
                    delayed[i] = at >= lag ? history[c][at - lag] : 0.0f;
                }
                expected[c].measure(delayed.data(), static_cast<std::uint32_t>(n));
                const Detector& actual = effect.meterEngine().detectors[c];
                ASSERT_EQ(actual.rmsLevel, expected[c].rmsLevel) << "mode " << mode;
                ASSERT_EQ(actual.peakLevel, expected[c].peakLevel);
                ASSERT_EQ(actual.holdLevel, expected[c].holdLevel);
            }
        }
    }
}

/// Two seconds of a music-like stereo signal: noise bursts, a sine, and silence with a click,
/// with a not-a-number and an infinite sample inside measurement blocks.
std::vector<float> musicLike(int channel) {
    std::mt19937 random(3 + channel);
    std::normal_distribution<float> noise(0.0f, 0.2f);
    std::vector<float> signal(88200, 0.0f);
    for (std::size_t i = 0; i < 35280; ++i) {
        const bool burst = (i / 4000) % 2 == 0;
        const float sine = static_cast<float>(0.7 * std::sin(0.1425 * static_cast<double>(i)));
        signal[i] = i < 13230 ? (burst ? noise(random) : 0.0f) : sine;
    }
    signal[39690] = channel == 0 ? 0.9f : -1.0f;
    signal[5000 + 29 * static_cast<std::size_t>(channel)] = std::nanf("");
    signal[20077] = std::numeric_limits<float>::infinity();
    return signal;
}

TEST(ADelayTest, ReadingsDoNotDependOnTheHostsBlockSize) {
    std::vector<float> left = musicLike(0);
    std::vector<float> right = musicLike(1);
    std::vector<float> outLeft(left.size()), outRight(right.size());
    std::mt19937 random(5);
    std::uniform_int_distribution<std::size_t> randomLength(1, 700);
    for (int variant = 0; variant < 18; ++variant) {
        // The six values after each 128 frames, from the effect fed 128 at a time.
        std::vector<std::vector<float>> afterBlock{{0, 1, 0, 1, 0, 1}};
        for (std::size_t frames : {128u, 1u, 7u, 37u, 64u, 100u, 441u, 512u, 0u}) {
            RecordingDelay effect;
            effect.setParameter(0, variant % 2 ? 0.01f : 0.0f);
            effect.setParameter(5, 0.5f * static_cast<float>(variant % 3));
            effect.setParameter(6, 0.5f * static_cast<float>(variant / 3 % 3));
            effect.setParameter(7, static_cast<float>(variant / 9));
            for (std::size_t at = 0; at < left.size();) {
                const std::size_t n =
                    std::min(left.size() - at, frames ? frames : randomLength(random));
                float* inputs[] = {left.data() + at, right.data() + at};
                float* outputs[] = {outLeft.data(), outRight.data()};
                effect.calls.clear();
                effect.processReplacing(inputs, outputs, static_cast<VstInt32>(n));
                at += n;
                std::vector<float> values;
                for (const RecordingDelay::Call& call : effect.calls) {
                    values.push_back(call.value);
                }
                if (frames == 128) {
                    afterBlock.push_back(values);
                } else {
                    const std::vector<float>& expected = afterBlock[at / 128];
                    ASSERT_EQ(values.size(), 6u);
                    ASSERT_EQ(std::memcmp(values.data(), expected.data(), sizeof(float) * 6), 0)
                        << "variant " << variant << ", blocks of " << frames << ", frame " << at;
                }
            }
        }
    }
}

TEST(ADelayTest, BurstReachesTheMeterAfterTheDelay) {
    // Fed one frame at a time, the meter shows a sample when its measurement block completes:
    // 81 + 13230 is the last sample of block 103, 82 + 13230 the first of block 104.
    for (const int burst : {81, 82}) {
        RecordingDelay effect;
        effect.setParameter(0, 1.0f);
        const int shown = burst == 81 ? 104 * 128 - 1 : 105 * 128 - 1;
        for (int sample = 0; sample < shown; ++sample) {
            const float input = sample == burst ? 1.0f : 0.0f;
            ASSERT_EQ(effect.run(constant(input, 1), constant(0.0f, 1))[2], 0.0f) << sample;
        }
        EXPECT_EQ(effect.run(constant(0.0f, 1), constant(0.0f, 1))[2], 0.5f) << burst;
    }
}

TEST(ADelayTest, SetUpChangesApplyBeforeTheNextBlock) {
    RecordingDelay effect;
    effect.setParameter(6, 1.0f);
    for (int block = 0; block < 100; ++block) {
        effect.run(constant(0.5f), constant(0.5f));
    }
    effect.setParameter(6, 0.5f);  // levels stay, the hold restarts
    const std::vector<float> retimed = effect.run(constant(0.0f), constant(0.0f));
    EXPECT_GT(retimed[0], 0.4f);
    EXPECT_GT(retimed[2], 0.4f);
    EXPECT_EQ(retimed[4], 0.0f);

    effect.setParameter(0, 0.1f);
    effect.run(constant(0.5f), constant(0.5f));
    effect.resume();
    EXPECT_EQ(effect.getParameter(1), 1.0f);
    // Levels, hold windows and the delayed signal are gone.
    EXPECT_EQ(effect.run(constant(0.0f), constant(0.0f)), (std::vector<float>{0, 1, 0, 1, 0, 1}));

    effect.setParameter(0, 0.0f);
    effect.run(constant(0.5f), constant(0.5f));
    effect.setSampleRate(48000.0f);
    effect.setSampleRate(96000.0f);
    effect.run(constant(0.0f, 128), constant(0.0f, 128));
    const Detector& detector = effect.meterEngine().detectors[0];
    EXPECT_EQ(detector.sampleRate, 96000.0f);
    EXPECT_EQ(detector.holdBlocks, 750u);
    EXPECT_EQ(detector.peakLevel, 0.0f);
    EXPECT_EQ(detector.rmsLevel, 0.0f);
}

TEST(ADelayTest, BadInputKeepsPublishedValuesFiniteAndInRange) {
    RecordingDelay effect;
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> bad = effect.run(constant(std::nanf(""), 128), constant(inf, 128));
    EXPECT_EQ(bad, (std::vector<float>{0, 1, 0, 1.5f, 0, 1}));  // infinity reads as full scale
    float sample = 0.5f;
    float* channels[] = {&sample, &sample};
    float* missing[] = {&sample, nullptr};
    effect.calls.clear();
    effect.process(nullptr, channels, 1);
    effect.process(channels, missing, 1);
    effect.process(channels, channels, -1);
    EXPECT_TRUE(effect.calls.empty());
}

TEST(ADelayTest, SetUpAndProcessingAllocateNothingOnceRunning) {
    ADelay effect(testHost);
    std::vector<float> left(4096, 0.25f), right(4096, -0.5f);
    float* channels[] = {left.data(), right.data()};
    effect.setParameter(0, 1.0f);
    const long before = allocations;
    for (float rate : {48000.0f, 96000.0f, 192000.0f, 44100.0f}) {
        effect.setSampleRate(rate);
        effect.setParameter(6, 1.0f);
        effect.setParameter(5, rate > 50000.0f ? 0.5f : 0.0f);
        effect.resume();
        effect.process(channels, channels, 4096);
    }
    EXPECT_EQ(allocations, before);
}

}  // namespace

// The counting allocator below pairs malloc with free itself; the compiler only sees new and
// free meet.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    if (failArrayAllocation) {
        throw std::bad_alloc();
    }
    return operator new(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
