// The editor base class that the host's editor requests reach: hands the window size to
// the host, owns the frame the derived editor builds in `open`, drives the idle redraw and
// serves the host during drags.
#pragma once

#include <memory>

#include <cstdint>
#include <vector>

#include "plugin/aeff_editor.h"
#include "plugin/vst2.h"

class AudioEffect;
class CControl;
class CDrawContext;
class CFrame;
class CSurface;
struct PanelSnapshot;

class AEffGUIEditor : public AEffEditor {
  public:
    /// Registers itself as the effect's editor.
    explicit AEffGUIEditor(AudioEffect* effect);
    /// Deletes a frame the derived editor left open; a frame still inside a press is
    /// left to delete itself, without its editor.
    ~AEffGUIEditor() override;

    /// Valid before `open` too.
    VstInt32 getRect(ERect** rect) override;
    /// Posts an update and stores the parent; the derived editor then builds its frame.
    VstInt32 open(void* parentWindow) override;
    void close() override;
    void idle() override;
    void update() override;
    void postUpdate() override;
    VstInt32 keyDown(VstKeyCode& keyCode) override;
    VstInt32 keyUp(VstKeyCode& keyCode) override;
    /// Stores the knob mode shared by all editors of the process; answers 1.
    VstInt32 setKnobMode(VstInt32 mode) override;
    bool wheel(float distance) override;

    virtual void setParameter(VstInt32 index, float value);
    /// Whether parameter changes are shown now, on any thread: an effect may leave out work
    /// for values that only the editor would show. Unless a derived editor says otherwise,
    /// every change is.
    virtual bool isShowing() const { return true; }
    /// Redraws the whole frame now; the rectangle is not looked at.
    virtual void drawWindow(ERect* rect);
    /// Called on every pass of a drag loop: serves screen and host about every 50 ms (the
    /// screen shows everything drawn so far before the host is called) and sleeps 4 ms on
    /// the calls in between.
    virtual void runHostIdle();

    /// Milliseconds from the platform's clock.
    std::uint32_t getTicks() const;
    static VstInt32 getKnobMode();

    AudioEffect* getEffect() const { return effect; }
    CFrame* getFrame() const { return frame; }
    /// Called by a frame being deleted, so that the editor never keeps it.
    void frameGone(CFrame* gone);

  protected:
    /// What a derived editor's `close` calls: deletes the frame now, or, while the frame
    /// is inside a press (the host may close the editor from the idle a drag gives it),
    /// lets go of it now and leaves it to delete itself when the press returns.
    void deleteFrame();
    /// Hands a user's change of `control` to the effect as automation of the parameter its
    /// tag names, and draws the control at once; key changes, without a context, are drawn
    /// at the next idle.
    void automate(CDrawContext* context, CControl* control);
    /// Whether `picture` has pixels of this panel's size; if not, tells it the size.
    bool fitsSnapshot(PanelSnapshot& picture) const;
    /// Draws the open frame of `painter`, a windowless panel, whole into `picture`, which
    /// fits it. Pictures drawn so, never in the window's frame, may be taken on any thread.
    static bool drawSnapshot(const AEffGUIEditor& painter, PanelSnapshot& picture);
    /// As above, into `surface`, made at the picture's size when there is none and kept
    /// for the next picture of the painter: every picture that fits has its size.
    static bool drawSnapshot(const AEffGUIEditor& painter, PanelSnapshot& picture,
                             std::unique_ptr<CSurface>& surface);

    ERect rect{0, 0, 0, 0};
    CFrame* frame = nullptr;
    std::uint32_t nextIdleTime;
    bool inHostIdle = false;
    bool inDrag = false;  ///< runHostIdle is calling idle

  private:
    /// Runs `call`, which may delete this editor; answers whether the editor is still there.
    /// Nothing of the editor may be touched after a false answer.
    template <typename Call>
    bool survives(Call call) {
        bool destroyed = false;
        bool* const outer = destroyedFlag;
        destroyedFlag = &destroyed;
        call();
        if (destroyed) {
            if (outer) {
                *outer = true;  // the calls around this one learn it too
            }
            return false;
        }
        destroyedFlag = outer;
        return true;
    }

    std::vector<CFrame*> closingFrames;  ///< let go of inside a press, not yet deleted
    bool* destroyedFlag = nullptr;       ///< set by the destructor: a call in `survives`
};
