#include "gui/aeff_gui_editor.h"

#include <algorithm>
#include <memory>

#include "gui/control.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/native_platform.h"
#include "plugin/audio_effect.h"
#include "plugin/panel_snapshot.h"

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
    // A host may drop the effect without closing the editor, even from inside a drag's
    // host idle; the frame must not outlive the editor it reports to.
    deleteFrame();
    for (CFrame* closing : closingFrames) {
        closing->forgetEditor();
    }
    if (destroyedFlag) {
        *destroyedFlag = true;
    }
    CNativePlatform::current().editorDestroyed();
    if (effect) {
        effect->forgetEditor(this);
    }
}

void AEffGUIEditor::deleteFrame() {
    CFrame* closing = frame;
    frame = nullptr;
    if (!closing) {
        return;
    }
    if (closing->isInPress()) {
        closingFrames.push_back(closing);
        closing->deleteAfterPress();
    } else {
        delete closing;
    }
}

void AEffGUIEditor::automate(CDrawContext* context, CControl* control) {
    effect->setParameterAutomated(control->getTag(), control->getValue());
    if (context) {
        control->redrawIfDirty(context);
    }
}

bool AEffGUIEditor::fitsSnapshot(PanelSnapshot& picture) const {
    const std::int32_t width = rect.right - rect.left;
    const std::int32_t height = rect.bottom - rect.top;
    if (!picture.pixels || picture.width != width || picture.height != height) {
        picture.width = width;
        picture.height = height;
        return false;
    }
    return true;
}

bool AEffGUIEditor::drawSnapshot(const AEffGUIEditor& painter, PanelSnapshot& picture) {
    std::unique_ptr<CSurface> surface;
    return drawSnapshot(painter, picture, surface);
}

bool AEffGUIEditor::drawSnapshot(const AEffGUIEditor& painter, PanelSnapshot& picture,
                                 std::unique_ptr<CSurface>& surface) {
    if (!surface) {
        surface = CNativePlatform::current().createOffscreen(picture.width, picture.height);
    }
    if (!surface || !painter.frame) {
        return false;
    }
    CDrawContext context(painter.frame, surface.get(), nullptr);
    painter.frame->draw(&context);
    return surface->readPixels(picture.pixels, picture.width, picture.height);
}

void AEffGUIEditor::frameGone(CFrame* gone) {
    if (frame == gone) {
        frame = nullptr;
    }
    closingFrames.erase(std::remove(closingFrames.begin(), closingFrames.end(), gone),
                        closingFrames.end());
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

void AEffGUIEditor::idle() {
    if (inHostIdle) {
        return;
    }
    // Inside a drag only paints are served (below, in runHostIdle): a press handled here
    // would start a second drag inside the first.
    // A press read here runs its whole drag, whose host calls may delete this editor.
    if (frame && !inDrag && !survives([this] { frame->processEvents(); })) {
        return;
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
    // A release store, not a fenced exchange: the audio thread posts six times per block.
    updateFlag.store(1, std::memory_order_release);
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
    // Times are compared by what elapsed, so the pacing survives the clock's wrap.
    const auto before = [](std::uint32_t time, std::uint32_t other) {
        return static_cast<std::int32_t>(time - other) < 0;
    };
    std::uint32_t now = getTicks();
    if (before(now, nextIdleTime)) {
        CNativePlatform::current().sleep(kIdleSleep);
        now += kIdleSleep;
        if (before(now, nextIdleTime - kIdleEarly)) {
            return;
        }
    }
    inDrag = true;
    idle();
    inDrag = false;
    if (frame) {
        frame->dispatchPendingPaint();
        // What the drag drew at once (the operated control) shows now, not at release.
        frame->flushWindow();
    }
    nextIdleTime = now + kIdleInterval;
    if (!effect) {
        return;
    }
    // The host may delete the effect, and with it this editor, in its idle.
    inHostIdle = true;
    if (!survives([this] { effect->masterIdle(); })) {
        return;
    }
    inHostIdle = false;
}

std::uint32_t AEffGUIEditor::getTicks() const {
    return CNativePlatform::current().ticks();
}
