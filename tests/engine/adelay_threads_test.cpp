// Set-up requests from a control thread while the audio thread processes: nothing may tear,
// and every published value stays in its channel's range. Meant to run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/engine/recording_delay.h"

namespace {

class RangeCheckingDelay : public ADelay {
  public:
    RangeCheckingDelay() : ADelay(testHost) {}

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

}  // namespace
