// The editor interface through which the dispatcher reaches an effect's editor.
#pragma once

#include <atomic>

#include "plugin/panel_snapshot.h"
#include "plugin/vst2.h"

class AudioEffect;

class AEffEditor {
  public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    /// Stores the address of the editor's rectangle through `rect`; answers 1 when it did.
    virtual VstInt32 getRect(ERect** rect) {
        *rect = nullptr;
        return 0;
    }
    /// `parentWindow` is the host's window: an HWND on Windows, an X11 window id elsewhere.
    virtual VstInt32 open(void* parentWindow) {
        systemWindow = parentWindow;
        return 0;
    }
    virtual void close() {}
    virtual void idle() {
        if (updateFlag.exchange(0) != 0) {
            update();
        }
    }
    virtual void update() {}
    /// Asks for `update` at the next idle. A release store, as the audio thread posts six
    /// times per block; the idle's exchange acquires it.
    virtual void postUpdate() { updateFlag.store(1, std::memory_order_release); }
    /// Answers -1 when the key was not handled.
    virtual VstInt32 keyDown(VstKeyCode& keyCode) {
        (void)keyCode;
        return -1;
    }
    virtual VstInt32 keyUp(VstKeyCode& keyCode) {
        (void)keyCode;
        return -1;
    }
    virtual VstInt32 setKnobMode(VstInt32 mode) {
        (void)mode;
        return 0;
    }
    virtual bool wheel(float distance) {
        (void)distance;
        return false;
    }
    /// Draws the panel as it stands into the picture's pixels; false when not drawn (see
    /// PanelSnapshot). An editor without a panel draws nothing.
    virtual bool snapshot(PanelSnapshot& picture) {
        (void)picture;
        return false;
    }

  protected:
    AudioEffect* effect;  ///< not owned: the effect owns its editor
    void* systemWindow = nullptr;
    /// Set by parameter changes on the audio thread, taken by idle on the editor's thread.
    std::atomic<VstInt32> updateFlag{0};
};
