// The loudness meter as a host meets it through its record: identity, parameters and their
// texts, programs, pass-through, resets and sample-rate changes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "meter_loudness/loudness_parameters.h"
#include "tests/host/test_host.h"

namespace {

using namespace loudness;

class LoudnessRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        host.sampleRateAnswer = 48000;
        plugin = PluginInstance::create();
        ASSERT_TRUE(plugin);
    }
    std::string display(VstInt32 index) {
        return plugin->text(effGetParamDisplay, index, kVstMaxLabelLen);
    }
    std::string label(VstInt32 index) {
        return plugin->text(effGetParamLabel, index, kVstMaxLabelLen);
    }
    /// `seconds` of a 1 kHz sine at `amplitude` on both channels, in 480-frame blocks.
    void playSine(double seconds, float amplitude) {
        StereoBlock block(480);
        for (int b = 0; b < seconds * 100; ++b) {
            for (int i = 0; i < block.frames; ++i) {
                const float value = amplitude * std::sin(2.0f * 3.14159265f * i / 48.0f);
                block.input[0][i] = value;
                block.input[1][i] = value;
            }
            plugin->process(block);
            ASSERT_EQ(block.output[0], block.input[0]);
            ASSERT_EQ(block.output[1], block.input[1]);
        }
    }

    TestHost host;
    std::unique_ptr<PluginInstance> plugin;
};

TEST_F(LoudnessRecord, IdentityAndParameterTexts) {
    const AEffect* record = plugin->record;
    EXPECT_EQ(record->uniqueID, fourCharCode('P', 'e', 'v', 'L'));
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->numParams, kNumParams);
    EXPECT_EQ(record->numPrograms, kNumPrograms);
    EXPECT_EQ(plugin->text(effGetEffectName, 0, kVstMaxEffectNameLen), "Pevo loudness meter");
    EXPECT_EQ(plugin->text(effGetVendorString, 0, kVstMaxVendorStrLen), "Quellmark");

    const char* names[kNumParams] = {"Momentary",      "Short-term",    "Integrated",
                                     "Range",          "True peak",     "Max momentary",
                                     "Max short-term", "Integrating",   "Integration time",
                                     "Target",         "Custom target", "Scale",
                                     "Unit",           "Reset",         "TP ceiling",
                                     "Integrate",      "Channels",      "Pause",
                                     "Zoom",           "Graph range"};
    const char* labels[kNumParams] = {"LUFS", "LUFS", "LUFS", "LU",   "dBTP", "LUFS", "LUFS",
                                      "",     "",     "LUFS", "LUFS", "",     "",     "",
                                      "dBTP", "",     "",     "",     "",     ""};
    const char* texts[kNumParams] = {"-inf",   "-inf",   "-inf",    "-inf",    "-inf",
                                     "-inf",   "-inf",   "Running", "0:00:00", "-23",
                                     "-23.0",  "EBU +9", "LUFS",    "Ready",   "-1.0",
                                     "Always", "Stereo", "Run",     "4 min",   "Follow"};
    for (VstInt32 index = 0; index < kNumParams; ++index) {
        EXPECT_EQ(plugin->text(effGetParamName, index, kVstMaxParamNameLen), names[index]);
        EXPECT_EQ(label(index), labels[index]);
        EXPECT_EQ(display(index), texts[index]) << names[index];
        EXPECT_EQ(plugin->dispatch(effCanBeAutomated, index), isReading(index) ? 0 : 1);
    }
}

TEST_F(LoudnessRecord, ReadingsFollowTheUnitAndIgnoreTheHost) {
    playSine(4.0, 0.5f);  // -6 dBFS at 1 kHz on both channels: -6.0 LUFS
    EXPECT_EQ(display(kIntegrated), "-6.0");
    EXPECT_EQ(display(kTruePeak), "-6.0");
    const float integrated = plugin->getParameter(kIntegrated);
    EXPECT_NEAR(integrated, (-6.0 - kReadingFloor) / (kReadingCeiling - kReadingFloor), 1e-3);

    plugin->setParameter(kIntegrated, 0.0f);
    plugin->setParameter(kTruePeak, 1.0f);
    EXPECT_EQ(plugin->getParameter(kIntegrated), integrated);
    EXPECT_EQ(display(kTruePeak), "-6.0");

    plugin->setParameter(kUnit, 1.0f);
    plugin->setParameter(kTarget, valueOfChoice(2, kTargetChoices));  // -16 LUFS
    EXPECT_EQ(display(kIntegrated), "10.0");
    EXPECT_EQ(label(kIntegrated), "LU");
    plugin->setParameter(kTarget, 1.0f);
    plugin->setParameter(kCustomTarget, valueOfLevel(-10.0, kCustomLowest, kCustomHighest));
    EXPECT_EQ(display(kTarget), "Custom");
    EXPECT_EQ(display(kMaxShortTerm), "4.0");
    EXPECT_EQ(display(kRange), "0.0");
}

TEST_F(LoudnessRecord, ResetAndNewRateClearAtTheNextBlock) {
    playSine(1.0, 0.5f);
    plugin->setParameter(kReset, 1.0f);
    EXPECT_EQ(display(kMaxMomentary), "-6.0");  // until the next block
    StereoBlock empty(0);
    plugin->process(empty);
    EXPECT_EQ(display(kMaxMomentary), "-inf");
    EXPECT_EQ(display(kTruePeak), "-inf");

    playSine(1.0, 0.5f);
    plugin->setParameter(kReset, 0.0f);  // the release of the button clears nothing
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 1e9f);      // refused
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);  // announced again
    plugin->process(empty);
    EXPECT_EQ(display(kMaxMomentary), "-6.0");
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    plugin->process(empty);
    EXPECT_EQ(display(kMaxMomentary), "-inf");
    playSine(1.0, 0.5f);
    plugin->dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 44100.0f);
    plugin->process(empty);
    EXPECT_EQ(display(kMaxMomentary), "-inf");
}

TEST_F(LoudnessRecord, ProgramsHoldTheDeliveryTargets) {
    const char* programs[kNumPrograms] = {"EBU R 128", "ATSC A/85", "Streaming", "Podcast"};
    const char* targets[kNumPrograms] = {"-23", "-24", "-14", "-16"};
    for (VstInt32 p = 0; p < kNumPrograms; ++p) {
        EXPECT_EQ(plugin->text(effGetProgramNameIndexed, p, kVstMaxProgNameLen), programs[p]);
        plugin->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(plugin->text(effGetProgramName, 0, kVstMaxProgNameLen), programs[p]);
        EXPECT_EQ(display(kTarget), targets[p]);
    }
    EXPECT_EQ(display(kCeiling), "-1.0");
    plugin->setParameter(kScale, 1.0f);
    plugin->dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(display(kCeiling), "-2.0");
    EXPECT_EQ(display(kScale), "EBU +9");
    plugin->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(display(kScale), "EBU +18");  // kept in its program
}

TEST_F(LoudnessRecord, ResetIsNoProgramSettingAndStoredSettingsStayInRange) {
    plugin->setParameter(kReset, 1.0f);  // a host that leaves Reset pressed
    playSine(5.0, 0.5f);
    plugin->dispatch(effSetProgram, 0, 1);
    plugin->dispatch(effSetProgram, 0, 0);
    StereoBlock empty(0);
    plugin->process(empty);
    EXPECT_EQ(display(kIntegrated), "-6.0");

    const float ceiling = plugin->getParameter(kCeiling);
    const struct {
        VstInt32 index;
        float value, stored;
        const char* text;
    } settings[] = {{kTarget, 7.5f, 1.0f, "Custom"},
                    {kCustomTarget, -3.0f, 0.0f, nullptr},
                    {kCeiling, NAN, ceiling, "-1.0"},
                    {kCustomTarget, 0.999f, 0.999f, "0.0"},
                    {kCeiling, 0.998f, 0.998f, "0.0"}};
    for (const auto& s : settings) {
        SCOPED_TRACE(s.value);
        plugin->setParameter(s.index, s.value);
        EXPECT_EQ(plugin->getParameter(s.index), s.stored);
        if (s.text) {
            EXPECT_EQ(display(s.index), s.text);
        }
    }
}

}  // namespace
