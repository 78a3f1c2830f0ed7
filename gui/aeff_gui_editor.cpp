#include "gui/aeff_gui_editor.h"

#include "gui/frame.h"
#include "gui/native/native_platform.h"
#include "plugin/audio_effect.h"

namespace {

VstInt32 knobMode = 0;

constexpr std::uint32_t kIdleSleep = 4;
constexpr std::uint32_t kIdleEarly = 50;
constexpr std::uint32_t kIdleInterval = 100;

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect), nextIdleTime(0) {
    if (effect) {
        effect->setEditor(this);
    }
    nextIdleTime = getTicks();
    CNativePlatform::current().editorCreated();
}

AEffGUIEditor::~AEffGUIEditor() {
    // A host may drop the effect without closing the editor; the frame's window must not
    // outlive the editor it reports to.
    deleteFrame();
    CNativePlatform::current().editorDestroyed();
    if (effect) {
        effect->forgetEditor(this);
    }
}

VstInt32 AEffGUIEditor::getRect(ERect** rectPointer) {
    if (rectPointer) {
        *rectPointer = &rect;
    }
    return 1;
}

VstInt32 AEffGUIEditor::open(void* parentWindow) {
    postUpdate();
    systemWindow = parentWindow;
    return 0;
}

void AEffGUIEditor::close() {}

void AEffGUIEditor::deleteFrame() {
    // Deleted now, or when the window event or key that closed it returns.
    if (frame) {
        frame->close();
    }
    frame = nullptr;
}

void AEffGUIEditor::idle() {
    if (inHostIdle) {
        return;
    }
    // Inside a drag only paints are served (below, in runHostIdle): a press handled here
    // would start a second drag inside the first.
    if (frame && !inDrag) {
        frame->processEvents();
    }
    if (updateFlag.exchange(0) != 0) {
        update();
    }
    if (frame) {
        frame->idle();
    }
}

void AEffGUIEditor::update() {}

void AEffGUIEditor::postUpdate() {
    updateFlag = 1;
}

VstInt32 AEffGUIEditor::keyDown(VstKeyCode& keyCode) {
    return frame ? frame->keyDown(keyCode) : -1;
}

VstInt32 AEffGUIEditor::keyUp(VstKeyCode& keyCode) {
    return frame ? frame->keyUp(keyCode) : -1;
}

VstInt32 AEffGUIEditor::setKnobMode(VstInt32 mode) {
    knobMode = mode;
    return 1;
}

VstInt32 AEffGUIEditor::getKnobMode() {
    return knobMode;
}

bool AEffGUIEditor::wheel(float distance) {
    return frame ? frame->wheel(nullptr, CPosition{0, 0}, distance) : false;
}

void AEffGUIEditor::setParameter(VstInt32 index, float value) {
    (void)index;
    (void)value;
    postUpdate();
}

void AEffGUIEditor::drawWindow(ERect* rectToDraw) {
    (void)rectToDraw;
    if (frame) {
        frame->drawWindow(nullptr);
    }
}

void AEffGUIEditor::runHostIdle() {
    std::uint32_t now = getTicks();
    if (now < nextIdleTime) {
        CNativePlatform::current().sleep(kIdleSleep);
        now += kIdleSleep;
        if (now < nextIdleTime - kIdleEarly) {
            return;
        }
    }
    inDrag = true;
    idle();
    inDrag = false;
    if (frame) {
        frame->dispatchPendingPaint();
    }
    nextIdleTime = now + kIdleInterval;
    inHostIdle = true;
    if (effect) {
        effect->masterIdle();
    }
    inHostIdle = false;
}

std::uint32_t AEffGUIEditor::getTicks() const {
    return CNativePlatform::current().ticks();
}
