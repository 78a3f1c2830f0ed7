#include "gui/aeff_gui_editor.h"

#include <gtest/gtest.h>

#include "gui/frame.h"
#include "gui/native/soft/headless_platform.h"
#include "tests/gui/probe_view.h"
#include "tests/gui/test_editor.h"

namespace {

class EditorTest : public ::testing::Test {
  protected:
    EditorTest() { editor = new CTestEditor(&effect); }

    CHeadlessPlatform platform;
    int host = 0;
    CEventLog log;
    CTestEffect effect;  // owns and deletes the editor
    CTestEditor* editor = nullptr;
};

TEST_F(EditorTest, RegistersWithTheEffectAndGivesItsRectangleBeforeOpen) {
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    ERect* rect = nullptr;
    EXPECT_EQ(editor->getRect(&rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 100);
    EXPECT_EQ(rect->bottom, 60);
    EXPECT_EQ(platform.editorsCreated(), 1);

    VstKeyCode key{'a', 0, 0};
    EXPECT_EQ(editor->keyDown(key), -1);
    EXPECT_EQ(editor->keyUp(key), -1);
    EXPECT_FALSE(editor->wheel(1.0f));
    editor->idle();
    editor->drawWindow(nullptr);
    EXPECT_EQ(editor->setKnobMode(2), 1);
    EXPECT_EQ(AEffGUIEditor::getKnobMode(), 2);
}

TEST_F(EditorTest, IdleRunsTheUpdateThenDrawsDirtyChildren) {
    editor->open(&host);
    CHeadlessWindow* window = platform.lastWindow();
    auto* view = new CProbeView({0, 0, 10, 10}, "v", log);
    editor->getFrame()->addView(view);
    view->setDirty(true);
    window->queuePaint({20, 20, 30, 30});

    editor->idle();  // the queued paint arrives first and allows idle drawing
    EXPECT_EQ(editor->updates, 1);
    EXPECT_EQ(log, CEventLog{"draw v"});
    editor->idle();
    EXPECT_EQ(editor->updates, 1);
    editor->setParameter(0, 0.5f);
    editor->idle();
    EXPECT_EQ(editor->updates, 2);

    editor->close();
    EXPECT_EQ(platform.windows().size(), 0u);
    EXPECT_EQ(log.back(), "delete v");
}

TEST_F(EditorTest, HostIdleDuringDragsIsThrottled) {
    editor->open(&host);
    effect.onHostIdle = [this] { editor->idle(); };  // the host idles the editor from its callback
    const int updatesBefore = editor->updates;
    CHeadlessWindow* window = platform.lastWindow();
    window->queuePaint({0, 0, 1, 1});
    window->queuePaint({0, 0, 1, 1});

    editor->runHostIdle();
    EXPECT_EQ(effect.hostIdles(), 1);
    EXPECT_EQ(editor->updates, updatesBefore + 1);
    EXPECT_EQ(platform.sleepCalls(), 0);
    EXPECT_EQ(window->processEventsCalls(), 0);  // a drag serves paints only, one at a time
    EXPECT_EQ(window->pendingPaints(), 1u);
    EXPECT_EQ(window->flushes(), 1);

    int calls = 0;
    while (effect.hostIdles() < 2) {
        editor->runHostIdle();
        ++calls;
    }
    // Every call sleeps 4 ms; the host is served again once 50 ms have passed.
    EXPECT_EQ(calls, 13);
    EXPECT_EQ(platform.sleepCalls(), 13);
    EXPECT_EQ(platform.ticks(), 1000u + 13 * 4);
    EXPECT_EQ(editor->updates, updatesBefore + 1);  // no re-entry from the host's idle

    platform.advance(1000);
    editor->runHostIdle();
    EXPECT_EQ(effect.hostIdles(), 3);
    EXPECT_EQ(platform.sleepCalls(), 13);
}

TEST_F(EditorTest, FrameForwardsEditsTicksAndKeys) {
    editor->open(&host);
    CFrame* frame = editor->getFrame();
    frame->beginEdit(5);
    frame->endEdit(5);
    ASSERT_EQ(effect.hostCalls.size(), 2u);
    EXPECT_EQ(effect.hostCalls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(effect.hostCalls[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(effect.hostCalls[1].index, 5);
    platform.setTicks(1234);
    EXPECT_EQ(frame->getTicks(), 1234u);

    auto* view = new CProbeView({0, 0, 10, 10}, "v", log);
    view->keyAnswer = 'k';
    frame->addView(view);
    VstKeyCode key{'k', 0, 0};
    EXPECT_EQ(editor->keyDown(key), 1);
}

TEST_F(EditorTest, TheHostMayCloseTheEditorInTheIdleADragGivesIt) {
    editor->open(&host);
    CFrame* frame = editor->getFrame();
    auto* view = new CProbeView({0, 0, 10, 10}, "v", log);
    frame->addView(view);
    effect.onHostIdle = [this] { editor->close(); };
    view->onPress = [&](CDrawContext* context) {
        frame->beginEdit(3);
        frame->runHostIdle();
        // The drag goes on in a live frame and view; the window counts as closed.
        log.push_back(frame->isWindowOpen() ? "open" : "closed");
        context->getMouseState();
        frame->endEdit(3);
    };
    platform.lastWindow()->press({5, 5}, kMouseLeft);
    EXPECT_EQ(log, (CEventLog{"press v 5,5", "closed", "delete v"}));
    EXPECT_EQ(editor->getFrame(), nullptr);
    ASSERT_EQ(effect.hostCalls.size(), 3u);
    EXPECT_EQ(effect.hostCalls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(effect.hostCalls[2].index, 3);
    EXPECT_EQ(platform.framesDestroyed(), 1);
    EXPECT_EQ(platform.classUseCount(), 0);

    // Opened again, the editor works as before.
    editor->open(&host);
    editor->close();
    EXPECT_EQ(platform.framesDestroyed(), 2);
}

TEST_F(EditorTest, TheHostMayDeleteTheEffectInTheIdleADragGivesIt) {
    auto* doomed = new CTestEffect;
    auto* doomedEditor = new CTestEditor(doomed);
    doomedEditor->open(&host);
    CFrame* frame = doomedEditor->getFrame();
    auto* view = new CProbeView({0, 0, 10, 10}, "v", log);
    frame->addView(view);
    doomed->onHostIdle = [&doomed] { delete doomed; };
    view->onPress = [&](CDrawContext*) {
        frame->runHostIdle();
        frame->endEdit(1);
        frame->runHostIdle();
        log.push_back(frame->getEditor() ? "editor" : "no editor");
    };
    platform.lastWindow()->press({5, 5}, kMouseLeft);
    EXPECT_EQ(log, (CEventLog{"press v 5,5", "no editor", "delete v"}));
    EXPECT_EQ(platform.framesDestroyed(), 1);
    EXPECT_EQ(platform.classUseCount(), 0);
    EXPECT_EQ(platform.editorsDestroyed(), 1);
}

TEST_F(EditorTest, TheHostMayDeleteTheEffectInAnyCallOfADragThatIdleDelivered) {
    // On X11 a press arrives in the editor's idle, and the whole drag runs inside it.
    const VstInt32 deletingCalls[] = {audioMasterBeginEdit, audioMasterIdle, audioMasterAutomate,
                                      audioMasterEndEdit};
    for (const VstInt32 deleting : deletingCalls) {
        auto* doomed = new CTestEffect;
        auto* doomedEditor = new CTestEditor(doomed);
        doomedEditor->open(&host);
        CFrame* frame = doomedEditor->getFrame();
        CEventLog drag;
        auto* view = new CProbeView({0, 0, 10, 10}, "v", drag);
        frame->addView(view);
        doomed->onHostCall = [&doomed, deleting](VstInt32 opcode) {
            if (opcode == deleting) {
                delete doomed;
            }
        };
        view->onPress = [&](CDrawContext*) {
            frame->beginEdit(1);
            frame->runHostIdle();
            if (AEffGUIEditor* live = frame->getEditor()) {
                live->getEffect()->setParameterAutomated(0, 0.5f);
            }
            frame->endEdit(1);
            drag.push_back(frame->getEditor() ? "editor" : "no editor");
        };
        doomedEditor->postUpdate();  // what idle would otherwise do after the press
        platform.lastWindow()->queuePress({5, 5}, kMouseLeft);
        doomedEditor->idle();
        EXPECT_EQ(drag, (CEventLog{"press v 5,5", "no editor", "delete v"})) << deleting;
        EXPECT_EQ(platform.classUseCount(), 0);
    }
    EXPECT_EQ(platform.editorsDestroyed(), 4);
}

TEST_F(EditorTest, AFrameLeftOpenIsDeletedWithTheEditor) {
    editor->open(&host);
    editor->getFrame()->addView(new CProbeView({0, 0, 10, 10}, "v", log));
    effect.setEditor(nullptr);
    delete editor;
    EXPECT_EQ(log, CEventLog{"delete v"});
    EXPECT_EQ(platform.framesDestroyed(), 1);
    EXPECT_EQ(platform.classUseCount(), 0);
    EXPECT_EQ(platform.editorsDestroyed(), 1);
}

}  // namespace
