// Audio through the record: pass-through, the published meter values and the meter delay.
// A host that polls parameters 1 to 3 sees meter channel 1 (the second value of each pair
// published per block), so signals meant for the meter go to input 1, or are mixed onto
// channel 1 by the mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "tests/host/test_host.h"

namespace {

constexpr float kMinus6dB = 1.42474f;    // channel 1, reading 0.5
constexpr float kMinus3dB = 1.46237f;    // channel 1, reading 0.5 x sqrt 2
constexpr float kMinus12dB = 1.349485f;  // channel 1, reading 0.25
constexpr float kSineRms = 1.387114f;    // channel 1, RMS of a sine of amplitude 0.5
constexpr float kFloor = 1.0f;           // channel 1 at -40 dB or below
constexpr float kFullScale = 1.5f;       // channel 1 at 0 dB or above
constexpr float kMeterTolerance = 2e-4f;
constexpr double kPi = 3.14159265358979323846;

struct Meters {
    float rms;
    float peak;
    float hold;
};

class PluginProcessing : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin = PluginInstance::create();
        ASSERT_TRUE(plugin);
    }
    Meters meters() {
        return {plugin->getParameter(1), plugin->getParameter(2), plugin->getParameter(3)};
    }
    /// Runs `blocks` blocks of constant input.
    void runConstant(float left, float right, int blocks, int frames = 512) {
        StereoBlock block(frames);
        block.fill(left, right);
        for (int i = 0; i < blocks; ++i) {
            plugin->process(block);
        }
    }
    void expectInRange(const Meters& m) {
        for (float value : {m.rms, m.peak, m.hold}) {
            EXPECT_TRUE(value >= kFloor && value <= kFullScale) << value;
        }
    }

    TestHost host;
    std::unique_ptr<PluginInstance> plugin;
};

StereoBlock noiseBlock(int frames, std::mt19937& random) {
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    StereoBlock block(frames);
    for (int channel = 0; channel < 2; ++channel) {
        for (float& value : block.input[channel]) {
            value = sample(random);
        }
    }
    return block;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST_F(PluginProcessing, ConstantOnOneChannel) {
    runConstant(0.5f, 0.0f, 20);  // input 0 feeds channel 0 only
    EXPECT_EQ(meters().rms, kFloor);
    EXPECT_EQ(meters().peak, kFloor);

    runConstant(0.0f, 0.5f, 1);
    EXPECT_NEAR(meters().peak, kMinus6dB, kMeterTolerance);
    EXPECT_EQ(meters().hold, kFloor);  // "Resp" 0: no hold
    plugin->setParameter(6, 0.5f);
    runConstant(0.0f, 0.5f, 1);
    EXPECT_NEAR(meters().hold, kMinus6dB, kMeterTolerance);

    plugin->setParameter(7, 1.0f);  // plain RMS
    runConstant(0.0f, 0.5f, 860);   // 10 s
    EXPECT_NEAR(meters().rms, kMinus6dB, kMeterTolerance);
    plugin->setParameter(7, 0.5f);  // RMS x sqrt 2
    runConstant(0.0f, 0.5f, 1);
    EXPECT_NEAR(meters().rms, kMinus3dB, kMeterTolerance);
}

TEST_F(PluginProcessing, SineRmsWithAndWithoutGain) {
    plugin->setParameter(7, 1.0f);
    StereoBlock block(441);  // a whole number of 1 kHz cycles per block
    for (int i = 0; i < block.frames; ++i) {
        block.input[1][static_cast<std::size_t>(i)] =
            static_cast<float>(0.5 * std::sin(2.0 * kPi * 1000.0 * i / 44100.0));
    }
    for (int i = 0; i < 1000; ++i) {
        plugin->process(block);
    }
    EXPECT_NEAR(meters().rms, kSineRms, 2e-3f);
    plugin->setParameter(7, 0.0f);
    plugin->process(block);
    EXPECT_NEAR(meters().rms, kMinus6dB, 2e-3f);  // the sine reads its peak
}

TEST_F(PluginProcessing, MidSideAndMonoMixes) {
    plugin->setParameter(5, 0.5f);  // mid and side
    runConstant(0.5f, 0.5f, 20);
    EXPECT_EQ(meters().rms, kFloor);  // identical inputs: no side signal
    EXPECT_EQ(meters().peak, kFloor);
    runConstant(0.5f, -0.5f, 1);
    EXPECT_NEAR(meters().peak, kMinus6dB, kMeterTolerance);

    plugin->dispatch(effMainsChanged, 0, 1);
    plugin->setParameter(5, 1.0f);  // mono sum on both channels
    runConstant(0.5f, 0.0f, 1);
    EXPECT_NEAR(meters().peak, kMinus12dB, kMeterTolerance);
}

TEST_F(PluginProcessing, AudioPassesBitExactInEveryMode) {
    std::mt19937 random(7);
    StereoBlock block = noiseBlock(512, random);
    block.input[0][3] = std::numeric_limits<float>::denorm_min();
    block.input[1][9] = -3.5f;
    for (float delay : {0.0f, 1.0f}) {
        for (float mode : {0.0f, 0.5f, 1.0f}) {
            plugin->setParameter(0, delay);
            plugin->setParameter(5, mode);
            plugin->setParameter(4, 0.5f);  // "Volume" does not act on the audio
            for (bool accumulating : {false, true}) {
                plugin->process(block, accumulating);
                EXPECT_TRUE(sameBits(block.output[0], block.input[0]));
                EXPECT_TRUE(sameBits(block.output[1], block.input[1]));
            }
        }
    }
}

TEST_F(PluginProcessing, BothProcessFunctionsAgree) {
    auto other = PluginInstance::create();
    ASSERT_TRUE(other);
    other->setParameter(6, 1.0f);
    plugin->setParameter(6, 1.0f);
    std::mt19937 random(11);
    for (int frames : {512, 64, 1000, 128, 7, 4096}) {
        StereoBlock a = noiseBlock(frames, random);
        StereoBlock b = a;
        plugin->process(a, false);
        other->process(b, true);
        EXPECT_TRUE(sameBits(a.output[0], b.output[0]));
        EXPECT_TRUE(sameBits(a.output[1], b.output[1]));
        for (VstInt32 index = 1; index <= 3; ++index) {
            EXPECT_EQ(plugin->getParameter(index), other->getParameter(index));
        }
    }
}

TEST_F(PluginProcessing, SwitchingOnClearsTheMeters) {
    plugin->setParameter(6, 1.0f);
    runConstant(0.0f, 0.5f, 10);
    plugin->dispatch(effMainsChanged, 0, 0);  // switching off keeps everything
    EXPECT_GT(meters().peak, kFloor);
    plugin->dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(meters().rms, kFloor);
    EXPECT_EQ(meters().peak, kFloor);
    EXPECT_EQ(meters().hold, kFloor);
    runConstant(0.0f, 0.0f, 1);
    EXPECT_EQ(meters().hold, kFloor);  // the hold history went too
}

/// The host block in which an impulse at input sample `at` first moves channel 1's peak,
/// with 128-frame blocks.
int blockWherePeakRises(PluginInstance& plugin, int at) {
    StereoBlock block(128);
    for (int index = 0; index < 200; ++index) {
        std::fill(block.input[1].begin(), block.input[1].end(), 0.0f);
        if (at / 128 == index) {
            block.input[1][static_cast<std::size_t>(at % 128)] = 1.0f;
        }
        plugin.process(block);
        if (plugin.getParameter(2) > kFloor) {
            return index;
        }
    }
    return -1;
}

TEST_F(PluginProcessing, MeterDelayIsExactly13230SamplesAt44100) {
    plugin->setParameter(0, 1.0f);
    ASSERT_EQ(plugin->text(effGetParamDisplay, 0, kVstMaxLabelLen), "  13230");
    // Sample 82 + 13230 opens block 104; sample 209 + 13230 closes it. One sample more or
    // less of delay moves one of them into a neighbouring block.
    EXPECT_EQ(blockWherePeakRises(*plugin, 82), 104);
    plugin->dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(blockWherePeakRises(*plugin, 209), 104);
    plugin->setParameter(0, 0.0f);
    plugin->dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(blockWherePeakRises(*plugin, 209), 1);
}

TEST_F(PluginProcessing, BadSamplesNeitherFreezeNorEscapeTheMeters) {
    plugin->setParameter(6, 1.0f);
    plugin->setParameter(7, 1.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    for (float bad : {nan, -infinity, 3e38f, nan}) {
        StereoBlock block(512);
        block.fill(bad, 0.25f);
        block.input[1][511] = bad;  // in the last measurement block: no decay after it
        plugin->process(block);
        EXPECT_TRUE(sameBits(block.output[1], block.input[1]));
        expectInRange(meters());
        if (std::isinf(bad)) {
            EXPECT_EQ(meters().peak, kFullScale);
        }
        plugin->setParameter(5, 1.0f);  // the mono sum carries input 0's bad samples too
        plugin->process(block);
        expectInRange(meters());
        plugin->setParameter(5, 0.0f);
    }
    plugin->setParameter(6, 0.0f);
    runConstant(0.0f, 0.5f, 860);
    EXPECT_NEAR(meters().rms, kMinus6dB, kMeterTolerance);
    EXPECT_NEAR(meters().peak, kMinus6dB, kMeterTolerance);
}

TEST_F(PluginProcessing, MissingBuffersAndNegativeCountsAreIgnored) {
    runConstant(0.0f, 0.5f, 1);
    plugin->setParameter(1, 0.25f);  // a mark that a new publication would overwrite
    StereoBlock block(512);
    float* noChannel[2] = {block.inputs[0], nullptr};
    AEffect* record = plugin->record;
    for (AEffectProcessProc run : {record->process, record->processReplacing}) {
        run(record, nullptr, block.outputs, 512);
        run(record, block.inputs, nullptr, 512);
        run(record, noChannel, block.outputs, 512);
        run(record, block.inputs, noChannel, 512);
        run(record, block.inputs, block.outputs, -1);
        run(record, block.inputs, block.outputs, std::numeric_limits<VstInt32>::min());
    }
    EXPECT_EQ(plugin->getParameter(1), 0.25f);
}

TEST_F(PluginProcessing, EmptyBlocksPublishTheReadingsWithOrWithoutBuffers) {
    runConstant(0.0f, 0.5f, 4);
    const Meters published = meters();
    StereoBlock block(1);
    AEffect* record = plugin->record;
    for (bool buffers : {true, false}) {
        for (AEffectProcessProc run : {record->process, record->processReplacing}) {
            for (VstInt32 index = 1; index <= 3; ++index) {
                plugin->setParameter(index, 0.25f);
            }
            // No buffer is read for no frames: missing ones change nothing.
            run(record, buffers ? block.inputs : nullptr, buffers ? block.outputs : nullptr, 0);
            EXPECT_EQ(meters().rms, published.rms) << buffers;
            EXPECT_EQ(meters().peak, published.peak) << buffers;
            EXPECT_EQ(meters().hold, published.hold) << buffers;
        }
    }
}

TEST_F(PluginProcessing, RejectedSampleRatesChangeNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    for (float odd : {nan, 0.0f, -48000.0f, 1536001.0f, infinity}) {
        for (VstInt32 opcode : {effSetSampleRate, effSetBlockSizeAndSampleRate}) {
            plugin->setParameter(0, 0.0f);
            runConstant(0.0f, 0.5f, 4);
            plugin->dispatch(opcode, 0, 512, nullptr, odd);
            runConstant(0.0f, 0.0f, 1, 1);  // one sample's decay, no clearing
            EXPECT_GT(meters().peak, kMinus6dB - 0.001f) << odd << " by " << opcode;
            plugin->setParameter(0, 1.0f);  // still at 44100 Hz
            EXPECT_EQ(plugin->text(effGetParamDisplay, 0, kVstMaxLabelLen), "  13230") << odd;
        }
    }
}

TEST_F(PluginProcessing, OddParameterValuesKeepTheMetersSane) {
    StereoBlock block(512);
    block.fill(0.25f, 0.5f);
    for (float odd :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity(), -1.0f, 1e30f}) {
        for (VstInt32 index = 0; index < 8; ++index) {
            plugin->setParameter(index, odd);
            plugin->text(effGetParamDisplay, index, kVstMaxLabelLen);
        }
        plugin->process(block);
        expectInRange(meters());
        EXPECT_TRUE(sameBits(block.output[1], block.input[1]));
    }
}

TEST_F(PluginProcessing, OddSampleRatesKeepTheDelayBounded) {
    // 300 ms at the highest rate the engine accepts (1536 kHz).
    constexpr long kLongestDelay = 460800;
    StereoBlock block(512);
    block.fill(0.25f, 0.5f);
    for (float odd : {std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(), -1.0f, 0.0f, 1e30f}) {
        for (VstInt32 opcode : {effSetSampleRate, effSetBlockSizeAndSampleRate}) {
            plugin->dispatch(opcode, 0, 512, nullptr, odd);
            plugin->setParameter(0, 1.0f);
            const std::string delay = plugin->text(effGetParamDisplay, 0, kVstMaxLabelLen);
            char* end = nullptr;
            const long samples = std::strtol(delay.c_str(), &end, 10);
            const bool bounded = *end == '\0' && samples >= 0 && samples <= kLongestDelay;
            EXPECT_TRUE(bounded) << "rate " << odd << " gives a delay of \"" << delay << '"';
            if (bounded) {  // an unbounded delay would make the block allocate without end
                plugin->process(block);
                expectInRange(meters());
            }
        }
    }
}

}  // namespace
