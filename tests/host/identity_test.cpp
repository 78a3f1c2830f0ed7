// What a host learns from the plug-in before any audio: the record, the identity answers
// and the fixed answers of the request table.
#include <gtest/gtest.h>

#include "tests/host/test_host.h"

namespace {

TEST(PluginIdentity, RecordAsTheHostSeesIt) {
    TestHost host;
    auto plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    const AEffect* record = plugin->record;
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 16);
    EXPECT_EQ(record->numParams, 8);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, kExpectedFlags);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->uniqueID, fourCharCode('P', 'e', 'v', 'o'));
    EXPECT_EQ(record->version, 1);
    EXPECT_NE(record->object, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);

    // Construction asks only for the version (from main) and the sample rate.
    EXPECT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.count(audioMasterVersion), 1);
    EXPECT_EQ(host.count(audioMasterGetSampleRate), 1);
    EXPECT_EQ(host.calls.front().effect, nullptr);
}

TEST(PluginIdentity, NamesVendorAndVersions) {
    TestHost host;
    auto plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->text(effGetEffectName, 0, kVstMaxEffectNameLen), "Pevo");
    EXPECT_EQ(plugin->text(effGetVendorString, 0, kVstMaxVendorStrLen), "Quellmark");
    EXPECT_EQ(plugin->text(effGetProductString, 0, kVstMaxProductStrLen), "Pevo level meter");
    for (VstInt32 opcode : {effGetEffectName, effGetVendorString, effGetProductString}) {
        char text[kVstMaxVendorStrLen];
        EXPECT_EQ(plugin->dispatch(opcode, 0, 0, text), 1);
    }
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(plugin->dispatch(effGetPlugCategory), kPlugCategEffect);
    EXPECT_EQ(plugin->dispatch(effGetVstVersion), 2300);
    EXPECT_EQ(plugin->dispatch(effIdentify), 0x4E764566);
}

TEST(PluginRequests, FixedAnswers) {
    TestHost host;
    auto plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->dispatch(effGetNumProgramCategories), 1);
    EXPECT_EQ(plugin->dispatch(effKeysRequired), 1);
    EXPECT_EQ(plugin->dispatch(effCanBeAutomated, 2), 1);
    EXPECT_EQ(plugin->dispatch(effGetVu), 0);
    EXPECT_EQ(plugin->dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(plugin->dispatch(77), 0);
    EXPECT_EQ(plugin->dispatch(-1), 0);
    for (const char* query : {"receiveVstEvents", "plugAsChannelInsert", "mixDryWet", "metapass",
                              "noRealTime", "bypass"}) {
        EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, const_cast<char*>(query)), 0) << query;
    }
    void* chunk = nullptr;
    EXPECT_EQ(plugin->dispatch(effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(chunk, nullptr);

    int arrangement = 0;
    void* input = &arrangement;
    void* output = &arrangement;
    plugin->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);

    // The panel's size is known before any window exists.
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 900);
    EXPECT_EQ(rect->bottom - rect->top, 202);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', VKEY_LEFT), -1);  // no window: not taken
    EXPECT_EQ(plugin->dispatch(effSetEditKnobMode, 0, 2), 1);
}

TEST(PluginRequests, SampleRateAndBlockSize) {
    TestHost host;
    for (VstIntPtr answer : {VstIntPtr{0}, VstIntPtr{-1}}) {
        host.sampleRateAnswer = answer;
        auto plugin = PluginInstance::create();
        ASSERT_TRUE(plugin);
        plugin->setParameter(0, 1.0f);  // 300 ms, shown in samples at the effect's rate
        EXPECT_EQ(plugin->text(effGetParamDisplay, 0, kVstMaxLabelLen), "  13230");
    }

    host.sampleRateAnswer = 44100;
    auto plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->dispatch(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 96000.0f), 1);
    plugin->setParameter(0, 0.5f);
    EXPECT_EQ(plugin->text(effGetParamDisplay, 0, kVstMaxLabelLen), "  14400");
}

TEST(PluginEntry, RefusesAHostThatGivesNoVersion) {
    TestHost host;
    host.versionAnswer = 0;
    VstPluginMainProc entry = TestHost::entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(TestHost::callback), nullptr);
    EXPECT_EQ(host.calls.size(), 1u);  // nothing was constructed
    EXPECT_EQ(entry(nullptr), nullptr);
}

TEST(PluginEntry, BothNamesMakeIndependentInstances) {
    TestHost host;
    auto first = PluginInstance::create("VSTPluginMain");
    auto second = PluginInstance::create("main");
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first->record, second->record);

    first->setParameter(5, 0.5f);
    first->dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(second->getParameter(5), 0.0f);
    EXPECT_EQ(second->dispatch(effGetProgram), 0);

    StereoBlock loud(512);
    loud.fill(0.5f, 0.5f);
    first->process(loud);
    StereoBlock quiet(512);
    second->process(quiet);
    EXPECT_GT(first->getParameter(2), 1.0f);
    EXPECT_EQ(second->getParameter(2), 1.0f);

    EXPECT_EQ(first->close(), 1);
    EXPECT_EQ(second->getParameter(2), 1.0f);  // survives the other's close
    EXPECT_EQ(second->close(), 1);
}

}  // namespace
