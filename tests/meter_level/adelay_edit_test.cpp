#include "meter_level/adelay_edit.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gui/aeff_gui_editor.h"
#include "gui/native/soft/headless_platform.h"
#include "tests/meter_level/recording_delay.h"

namespace {

class RecordingEditor : public AEffGUIEditor {
  public:
    using AEffGUIEditor::AEffGUIEditor;

    void setParameter(VstInt32 index, float value) override { calls.emplace_back(index, value); }

    std::vector<std::pair<VstInt32, float>> calls;
};

TEST(ADelayEditTest, HandsEveryParameterChangeToItsEditor) {
    CHeadlessPlatform platform;
    ADelayEdit effect(testHost);
    delete effect.getEditor();                    // the panel makes way for the recording editor
    auto* editor = new RecordingEditor(&effect);  // the effect owns and deletes it
    EXPECT_EQ(effect.getAeffect()->flags, 29);

    effect.setParameter(5, 0.5f);
    std::vector<float> silence(64, 0.0f);
    float* channels[] = {silence.data(), silence.data()};
    effect.process(channels, channels, 64);
    const std::vector<std::pair<VstInt32, float>> expected = {
        {5, 0.5f}, {1, 0.0f}, {1, 1.0f}, {2, 0.0f}, {2, 1.0f}, {3, 0.0f}, {3, 1.0f}};
    EXPECT_EQ(editor->calls, expected);
}

}  // namespace
