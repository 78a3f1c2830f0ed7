// Parameters and programs as a host reads and sets them.
#include <gtest/gtest.h>

#include <string>

#include "tests/host/test_host.h"

namespace {

class PluginParameters : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin = PluginInstance::create();
        ASSERT_TRUE(plugin);
    }
    std::string name(VstInt32 index) {
        return plugin->text(effGetParamName, index, kVstMaxParamNameLen);
    }
    std::string label(VstInt32 index) {
        return plugin->text(effGetParamLabel, index, kVstMaxLabelLen);
    }
    std::string display(VstInt32 index) {
        return plugin->text(effGetParamDisplay, index, kVstMaxLabelLen);
    }
    std::string programName() { return plugin->text(effGetProgramName, 0, kVstMaxProgNameLen); }
    std::string indexedName(VstInt32 index) {
        return plugin->text(effGetProgramNameIndexed, index, kVstMaxProgNameLen);
    }

    TestHost host;
    std::unique_ptr<PluginInstance> plugin;
};

TEST_F(PluginParameters, TableAfterConstruction) {
    const struct {
        const char* name;
        const char* label;
        const char* display;
        float value;
    } table[] = {
        {"Delay", "samples", "      0", 0.0f},
        {"RMS level", "apples", "1.000000", 1.0f},
        {"Peak level", "apples", "1.000000", 1.0f},
        {"Hold level", "apples", "1.000000", 1.0f},
        {"Volume", "dB", "-oo", 0.0f},
        {"Mode", "", "0.000000", 0.0f},
        {"Resp", "", "0.000000", 0.0f},
        {"RMS Mode", "", "0.000000", 0.0f},
    };
    for (VstInt32 index = 0; index < 8; ++index) {
        const auto& row = table[index];
        EXPECT_EQ(name(index), row.name) << "parameter " << index;
        EXPECT_EQ(label(index), row.label) << "parameter " << index;
        EXPECT_EQ(display(index), row.display) << "parameter " << index;
        EXPECT_EQ(plugin->getParameter(index), row.value) << "parameter " << index;
    }
}

TEST_F(PluginParameters, SettingsAndTheirTexts) {
    plugin->setParameter(0, 1.0f);
    EXPECT_EQ(plugin->getParameter(0), 1.0f);
    EXPECT_EQ(display(0), "  13230");
    plugin->setParameter(4, 0.5f);
    EXPECT_EQ(display(4), "-6.02060");
    plugin->setParameter(5, 0.42474f);
    EXPECT_EQ(display(5), "0.424739");
    plugin->setParameter(7, -3.0f);
    EXPECT_EQ(display(7), "-3.00000");
    // Values a host may send that do not fit 8 characters never show a wrong digit.
    plugin->setParameter(6, 12345678.0f);
    EXPECT_EQ(display(6), "12345678");
    plugin->setParameter(6, 1e9f);
    EXPECT_EQ(display(6), "Huge!");
}

TEST_F(PluginParameters, DelayAtAnotherHostRate) {
    plugin.reset();
    host.sampleRateAnswer = 48000;
    plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    plugin->setParameter(0, 0.5f);
    EXPECT_EQ(display(0), "   7200");
}

TEST_F(PluginParameters, IndicesOutsideTheTableChangeAndWriteNothing) {
    for (VstInt32 index : {8, -1, 1000}) {
        plugin->setParameter(index, 0.7f);
        EXPECT_EQ(plugin->getParameter(index), 0.0f);
        EXPECT_EQ(name(index), kUntouched);
        EXPECT_EQ(label(index), kUntouched);
        EXPECT_EQ(display(index), kUntouched);
    }
    for (VstInt32 index = 0; index < 8; ++index) {
        EXPECT_NE(plugin->getParameter(index), 0.7f);
    }
}

TEST_F(PluginParameters, ProgramNamesAndNumbers) {
    EXPECT_EQ(programName(), "Init 1");
    plugin->dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 2);
    EXPECT_EQ(programName(), "Init 3");
    EXPECT_EQ(indexedName(2), "Init");
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, 2, 0, nullptr), 0);
    char buffer[kVstMaxProgNameLen];
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, 15, 0, buffer), 1);
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, 16, 0, buffer), 0);
    EXPECT_EQ(indexedName(16), kUntouched);
    EXPECT_EQ(indexedName(-1), kUntouched);

    for (VstIntPtr outside : {VstIntPtr{16}, VstIntPtr{-1}, VstIntPtr{-2147483647 - 1}}) {
        plugin->dispatch(effSetProgram, 0, outside);
        EXPECT_EQ(plugin->dispatch(effGetProgram), 2);
    }
    plugin->dispatch(effSetProgram, 0, 15);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 15);
    EXPECT_EQ(programName(), "Init 16");

    plugin->dispatch(effSetProgram, 0, 5);
    char init[] = "Init";
    plugin->dispatch(effSetProgramName, 0, 0, init);
    EXPECT_EQ(programName(), "Init 6");
    char spaced[] = "Init ";
    plugin->dispatch(effSetProgramName, 0, 0, spaced);
    EXPECT_EQ(programName(), "Init ");

    char longName[] = "A program name far longer than twenty-three characters";
    plugin->dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(programName(), std::string(longName, 23));
    EXPECT_EQ(indexedName(5), std::string(longName, 23));
}

TEST_F(PluginParameters, ProgramsKeepTheirOwnValues) {
    plugin->dispatch(effSetProgram, 0, 1);
    plugin->setParameter(0, 0.5f);
    plugin->setParameter(5, 1.0f);
    plugin->dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(plugin->getParameter(0), 0.0f);
    EXPECT_EQ(plugin->getParameter(5), 0.0f);
    EXPECT_EQ(display(0), "      0");
    plugin->dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(plugin->getParameter(0), 0.5f);
    EXPECT_EQ(plugin->getParameter(5), 1.0f);
    EXPECT_EQ(display(0), "   6615");
}

}  // namespace
