// Set-up requests from a control thread while the audio thread processes: nothing may tear,
// and every published value stays in its channel's range. Meant to run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/meter_level/recording_delay.h"

namespace {

class RangeCheckingDelay : public ADelay {
  public:
    RangeCheckingDelay() : ADelay(testHost) {}

    /// Every block's six values come through setParameter.
    bool metersShown() override { return true; }

    void setParameter(VstInt32 index, float value) override {
        if (index >= 1 && index <= 3 && !(value >= 0.0f && value <= 0.5f) &&
            !(value >= 1.0f && value <= 1.5f)) {
            outOfRange.fetch_add(1);
        }
        ADelay::setParameter(index, value);
    }

    std::atomic<int> outOfRange{0};
};

TEST(ADelayThreadsTest, SetUpDuringProcessingKeepsMetersInRange) {
    RangeCheckingDelay effect;
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        std::vector<float> left(256), right(256), outLeft(256), outRight(256);
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        for (unsigned block = 0; running.load(); ++block) {
            for (std::size_t i = 0; i < left.size(); ++i) {
                left[i] = ((block + i) % 50) * 0.02f;
                right[i] = -left[i] * 0.5f;
            }
            effect.process(inputs, outputs, static_cast<VstInt32>(left.size()));
            blocks.fetch_add(1);
        }
    });

    const float rates[] = {44100.0f, 48000.0f, 96000.0f, 22050.0f};
    // Both sides make progress, whatever the scheduler does.
    for (int round = 0; round < 300 || (blocks.load() < 3000 && round < 1000000); ++round) {
        effect.setParameter(6, (round % 3) * 0.5f);
        effect.setParameter(0, (round % 4) * 0.25f);
        effect.setSampleRate(rates[round % 4]);
        effect.setProgram(round % 16);
        effect.setParameter(5, (round % 3) * 0.5f);
        if (round % 10 == 0) {
            effect.resume();
        }
        for (VstInt32 index = 1; index <= 3; ++index) {
            const float value = effect.getParameter(index);
            EXPECT_TRUE((value >= 0.0f && value <= 0.5f) || (value >= 1.0f && value <= 1.5f));
        }
        std::this_thread::yield();
    }
    running.store(false);
    audio.join();
    EXPECT_EQ(effect.outOfRange.load(), 0);
}

float holdTimeOf(float resp) {
    return resp < 0.3f ? 0.0f : (resp < 0.7f ? 1.0f : 3.0f);
}

// The editor and host automation set "Resp" at the same moment, round after round: once both
// are done, the next block must re-time the detectors for the value the effect holds.
TEST(ADelayThreadsTest, HoldTimeFollowsRespSetFromTwoThreadsAtOnce) {
    ADelay effect(testHost);
    constexpr int kRounds = 20000;
    std::atomic<int> round{0};
    std::atomic<int> done{0};
    auto setter = [&](float value) {
        for (int r = 1; r <= kRounds; ++r) {
            while (round.load() < r) {
                std::this_thread::yield();
            }
            effect.setParameter(6, r % 2 ? value : 1.0f - value);
            done.fetch_add(1);
        }
    };
    std::thread editor(setter, 0.0f);
    std::thread automation(setter, 1.0f);
    float sample = 0.0f;
    float* channels[] = {&sample, &sample};
    int disagreements = 0;
    for (int r = 1; r <= kRounds; ++r) {
        round.store(r);
        while (done.load() < 2 * r) {
            std::this_thread::yield();
        }
        effect.process(channels, channels, 0);
        const Detector& detector = effect.meterEngine().detectors[0];
        disagreements += detector.holdTime != holdTimeOf(effect.getParameter(6));
    }
    editor.join();
    automation.join();
    EXPECT_EQ(disagreements, 0);
}

// Sample rates posted while the audio thread runs: each request re-times and clears the
// detectors once. Every rate is new, so a clear at a rate already applied is a request
// applied twice.
TEST(ADelayThreadsTest, EachSampleRateRequestClearsTheLevelsOnce) {
    ADelay effect(testHost);
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    int repeated = 0;
    std::thread audio([&] {
        // Whole measurement blocks, so that every block steps the levels once.
        std::vector<float> samples(128, 0.5f);
        float* channels[] = {samples.data(), samples.data()};
        const Detector& detector = effect.meterEngine().detectors[0];
        float lastRate = 0.0f;
        while (running.load()) {
            effect.process(channels, channels, 128);
            // Cleared at the start of this block: the level rose from 0 in one step.
            if (detector.rmsLevel == 0.5f * detector.rmsRiseBlockCoef) {
                repeated += detector.sampleRate == lastRate;
                lastRate = detector.sampleRate;
            }
            blocks.fetch_add(1);
        }
    });
    for (int request = 0; request < 20000; ++request) {
        const long before = blocks.load();
        effect.setSampleRate(40000.0f + static_cast<float>(request));
        while (blocks.load() < before + 3) {
            std::this_thread::yield();
        }
    }
    running.store(false);
    audio.join();
    EXPECT_EQ(repeated, 0);
}

// A host selecting and renaming programs on one thread while another reads them: every name
// read is one the effect was given, never a mix of two.
TEST(ADelayThreadsTest, ProgramsAndTheirNamesReadWhileAnotherThreadChangesThem) {
    ADelay effect(testHost);
    std::atomic<bool> running{true};
    int torn = 0;
    std::thread reader([&] {
        char name[kVstMaxProgNameLen];
        while (running.load()) {
            const auto program = effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f);
            effect.dispatcher(effGetProgramName, 0, 0, name, 0.0f);
            const std::string read = name;
            torn += program < 0 || program >= ADelay::kNumPrograms ||
                    (read != "Mine" && read != "Theirs, longer" && read.rfind("Init ", 0) != 0);
        }
    });
    char names[][kVstMaxProgNameLen] = {"Mine", "Theirs, longer"};
    for (int round = 0; round < 20000; ++round) {
        effect.dispatcher(effSetProgram, 0, round % ADelay::kNumPrograms, nullptr, 0.0f);
        effect.dispatcher(effSetProgramName, 0, 0, names[round % 2], 0.0f);
    }
    running.store(false);
    reader.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
