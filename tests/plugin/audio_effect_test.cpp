#include "plugin/audio_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/plugin/test_effect.h"

namespace {

VstIntPtr dispatch(AEffect* record, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

class RecordingEditor : public AEffEditor {
  public:
    explicit RecordingEditor(AudioEffect* effect) : AEffEditor(effect) {}
    VstInt32 getRect(ERect** rect) override {
        *rect = &area;
        return 1;
    }
    VstInt32 open(void* parent) override {
        openedWith = parent;
        return 1;
    }
    void close() override { ++closes; }
    void idle() override { ++idles; }
    VstInt32 keyDown(VstKeyCode& key) override {
        lastKey = key;
        return 1;
    }
    VstInt32 keyUp(VstKeyCode& key) override {
        lastKey = key;
        return 2;
    }
    VstInt32 setKnobMode(VstInt32 mode) override { return mode + 1; }

    ERect area{0, 0, 202, 900};
    void* openedWith = nullptr;
    int closes = 0;
    int idles = 0;
    VstKeyCode lastKey{};
};

TEST(AudioEffectRecord, IsFilledByTheBaseClass) {
    TestEffect effect(RecordingHost::callback);
    const AEffect* record = effect.getAeffect();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, TestEffect::kPrograms);
    EXPECT_EQ(record->numParams, TestEffect::kParams);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, static_cast<AudioEffect*>(&effect));
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->resvd1 | record->resvd2, 0);
    EXPECT_EQ(record->initialDelay | record->realQualities | record->offQualities, 0);
    for (char byte : record->future) {
        EXPECT_EQ(byte, 0);
    }
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getProgram(), 0);
}

TEST(AudioEffectRecord, SettersChangeOnlyTheirOwnField) {
    TestEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    effect.hasVu();
    effect.canMono();
    effect.canProcessReplacing();
    effect.hasClip();
    effect.programsAreChunks();
    effect.isSynth();
    effect.noTail();
    EXPECT_EQ(record->flags, 4 | 8 | 16 | 2 | 32 | 256 | 512);
    effect.hasClip(false);
    effect.programsAreChunks(false);
    effect.isSynth(false);
    effect.noTail(false);
    EXPECT_EQ(record->flags, 28);

    auto* editor = new RecordingEditor(&effect);
    effect.setEditor(editor);
    EXPECT_EQ(record->flags, 29);
    effect.setEditor(nullptr);
    EXPECT_EQ(record->flags, 28);
    delete editor;

    effect.setNumInputs(2);
    effect.setUniqueID(fourCharCode('P', 'e', 'v', 'o'));
    effect.setInitialDelay(7);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->uniqueID, 0x5065766F);
    EXPECT_EQ(record->initialDelay, 7);
}

TEST(AudioEffectRecord, FunctionsForwardToTheEffect) {
    TestEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    record->process(record, nullptr, nullptr, 64);
    record->processReplacing(record, nullptr, nullptr, 32);
    EXPECT_EQ(effect.processCalls, 2);
    EXPECT_EQ(effect.lastFrames, 32);
    record->setParameter(record, 2, 0.75f);
    EXPECT_EQ(effect.lastIndex, 2);
    EXPECT_EQ(effect.lastValue, 0.75f);
    EXPECT_EQ(record->getParameter(record, 2), 0.5f);
}

TEST(AudioEffectRecord, CloseDeletesTheEffectAndAnswersOne) {
    int destroyed = 0;
    auto* effect = new TestEffect(nullptr, &destroyed);
    auto* editor = new RecordingEditor(effect);
    effect->setEditor(editor);
    EXPECT_EQ(dispatch(effect->getAeffect(), effClose), 1);
    EXPECT_EQ(destroyed, 1);
}

TEST(AudioEffectDispatcher, AnswersTheBasicRequests) {
    TestEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    EXPECT_EQ(dispatch(record, effSetProgram, 0, 3), 0);
    EXPECT_EQ(dispatch(record, effGetProgram), 3);
    dispatch(record, effSetProgram, 0, TestEffect::kPrograms);
    dispatch(record, effSetProgram, 0, -1);
    dispatch(record, effSetProgram, 0, static_cast<VstIntPtr>(-2147483647 - 1));
    EXPECT_EQ(dispatch(record, effGetProgram), 3);

    dispatch(record, effSetBlockSize, 0, 512);
    EXPECT_EQ(effect.getBlockSize(), 512);
    dispatch(record, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    dispatch(record, effMainsChanged, 0, 0);
    dispatch(record, effMainsChanged, 0, 1);
    EXPECT_EQ(effect.suspendCalls, 1);
    EXPECT_EQ(effect.resumeCalls, 1);

    EXPECT_EQ(dispatch(record, effSetBlockSizeAndSampleRate, 0, 256, nullptr, 96000.0f), 1);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.sampleRateCalls, 1);  // only effSetSampleRate re-tunes
}

TEST(AudioEffectDispatcher, ExtendedRequestsGiveTheirFixedAnswers) {
    TestEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    const struct {
        VstInt32 opcode;
        VstIntPtr answer;
    } nonZero[] = {{effCanBeAutomated, 1},        {effGetNumProgramCategories, 1},
                   {effConnectInput, 1},          {effConnectOutput, 1},
                   {effKeysRequired, 1},          {effGetVstVersion, 2300},
                   {effGetCurrentMidiProgram, -1}};
    for (const auto& row : nonZero) {
        EXPECT_EQ(dispatch(record, row.opcode), row.answer) << "opcode " << row.opcode;
    }
    EXPECT_EQ(dispatch(record, effSetTotalSampleToProcess, 0, 4321), 4321);

    char text[64] = "untouched";
    for (VstInt32 opcode = effProcessEvents; opcode <= effBeginLoadProgram; ++opcode) {
        bool listed =
            opcode == effSetTotalSampleToProcess || opcode == effSetBlockSizeAndSampleRate;
        for (const auto& row : nonZero) {
            listed = listed || row.opcode == opcode;
        }
        if (!listed && opcode != effGetSpeakerArrangement) {
            EXPECT_EQ(dispatch(record, opcode, 0, 0, text), 0) << "opcode " << opcode;
        }
    }
    EXPECT_STREQ(text, "untouched");
    for (const char* query : {"receiveVstEvents", "plugAsChannelInsert", "mixDryWet", "bypass"}) {
        EXPECT_EQ(dispatch(record, effCanDo, 0, 0, const_cast<char*>(query)), 0);
    }
}

TEST(AudioEffectDispatcher, NullPointersFromTheHostAreNotWrittenThrough) {
    TestEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    for (VstInt32 opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
          effGetParamName, effGetProgramNameIndexed, effGetEffectName, effGetVendorString,
          effGetProductString, effCanDo, effGetSpeakerArrangement, effString2Parameter}) {
        EXPECT_EQ(dispatch(record, opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    }

    int inputArrangement = 1;
    int outputArrangement = 2;
    void* input = &inputArrangement;
    void* output = &outputArrangement;
    dispatch(record, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST(AudioEffectDispatcher, EditorRequestsReachTheEditorOnlyWhenThereIsOne) {
    TestEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    ERect* rect = nullptr;
    for (VstInt32 opcode : {effEditGetRect, effEditOpen, effEditKeyDown, effEditKeyUp,
                            effSetEditKnobMode, effEditClose, effEditIdle}) {
        EXPECT_EQ(dispatch(record, opcode, 'a', 1, &rect), 0) << "opcode " << opcode;
    }

    auto* editor = new RecordingEditor(&effect);
    effect.setEditor(editor);
    EXPECT_EQ(dispatch(record, effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, &editor->area);
    EXPECT_EQ(dispatch(record, effEditGetRect, 0, 0, nullptr), 0);
    int window = 0;
    EXPECT_EQ(dispatch(record, effEditOpen, 0, 0, &window), 1);
    EXPECT_EQ(editor->openedWith, &window);
    dispatch(record, effEditIdle);
    dispatch(record, effEditClose);
    EXPECT_EQ(editor->idles, 1);
    EXPECT_EQ(editor->closes, 1);
    EXPECT_EQ(dispatch(record, effSetEditKnobMode, 0, 2), 3);

    EXPECT_EQ(dispatch(record, effEditKeyDown, 'q', 0x10B, nullptr, 9.7f), 1);
    EXPECT_EQ(editor->lastKey.character, 'q');
    EXPECT_EQ(editor->lastKey.virt, 0x0B);
    EXPECT_EQ(editor->lastKey.modifier, 9);
    EXPECT_EQ(dispatch(record, effEditKeyUp, 0, VKEY_ESCAPE, nullptr, 257.0f), 2);
    EXPECT_EQ(editor->lastKey.modifier, 1);
    for (float odd : {std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f}) {
        dispatch(record, effEditKeyDown, 0, 0, nullptr, odd);
        EXPECT_EQ(editor->lastKey.modifier, 0);
    }
}

TEST(AudioEffectHostRequests, CarryTheirArgumentsAndHandleTheAnswers) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);

    host.answeredOpcode = audioMasterGetSampleRate;
    for (VstIntPtr answer : {VstIntPtr{0}, VstIntPtr{-48000}}) {
        host.answer = answer;
        EXPECT_EQ(effect.updateSampleRate(), 44100.0f);
    }
    host.answer = 48000;
    EXPECT_EQ(effect.updateSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);

    host.calls.clear();
    effect.setParameterAutomated(2, 0.5f);
    EXPECT_EQ(effect.lastIndex, 2);
    effect.beginEdit(5);
    effect.endEdit(5);
    effect.masterIdle();
    ASSERT_EQ(host.calls.size(), 4u);
    EXPECT_EQ(host.calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(host.calls[0].index, 2);
    EXPECT_EQ(host.calls[0].opt, 0.5f);
    EXPECT_EQ(host.calls[1].opcode, audioMasterBeginEdit);
    EXPECT_EQ(host.calls[1].index, 5);
    EXPECT_EQ(host.calls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(host.calls[2].index, 5);
    EXPECT_EQ(host.calls[3].opcode, audioMasterIdle);
    EXPECT_EQ(effect.getMasterVersion(), 1);  // a host answering 0 counts as version 1
}

TEST(AudioEffectHostRequests, AreSkippedWithoutACallback) {
    TestEffect effect(nullptr);
    EXPECT_EQ(effect.updateSampleRate(), 44100.0f);
    effect.setParameterAutomated(1, 0.25f);
    EXPECT_EQ(effect.lastValue, 0.25f);
    EXPECT_FALSE(effect.beginEdit(1));
    EXPECT_FALSE(effect.endEdit(1));
    effect.masterIdle();
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_TRUE(effect.isInputConnected(0));
}

}  // namespace
