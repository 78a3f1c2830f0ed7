// The top-level view: owns the editor's child window inside the host's window, keeps the
// flat list of child views, and turns the window's paint and mouse reports into drawing
// and mouse calls on them. Nothing is drawn when a value changes: a paint request
// repaints the damaged area, and each idle call draws the children that report dirty.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/native/native_window.h"
#include "gui/view.h"

class AEffGUIEditor;
class CResourceBitmap;

class CFrame : public CView, public CNativeWindowClient {
  public:
    /// Creates the child window when `parentWindow` is not null.
    CFrame(const CRectangle& bounds, void* parentWindow, AEffGUIEditor* editor);
    /// Releases every child once and the background, then destroys the window.
    ~CFrame() override;

    void draw(CDrawContext* context) override;
    void drawArea(CDrawContext* context, const CRectangle& updateRect) override;
    void mouseDown(CDrawContext* context, const CPosition& where) override;
    void redrawIfDirty(CDrawContext* context) override;
    std::int32_t keyDown(VstKeyCode& keyCode) override;
    std::int32_t keyUp(VstKeyCode& keyCode) override;
    bool dropFiles(void** items, std::int32_t count, std::int32_t type,
                   const CPosition& where) override;
    bool wheel(CDrawContext* context, const CPosition& where, float distance) override;
    AEffGUIEditor* getEditor() const override;

    /// The view is not retained: it arrives with the count of its creation. False when
    /// it is already a child or the list cannot grow.
    virtual bool addView(CView* view);
    /// Answers true also when the view is not a child.
    virtual bool removeView(CView* view, bool releaseIt = true);
    virtual bool removeAllViews(bool releaseThem = true);
    virtual bool containsView(CView* view) const;
    virtual std::int32_t viewCount() const;
    /// Null outside 0 .. viewCount() - 1.
    virtual CView* viewAt(std::int32_t index) const;

    /// Retained while set; the frame does not mark itself dirty.
    void setBackground(CResourceBitmap* bitmap);
    CResourceBitmap* getBackground() const { return background; }

    /// Draws the dirty children onto the window (nothing before the first paint).
    void idle();
    /// Draws `view` now if it is a child, else the whole frame.
    void drawWindow(CView* view = nullptr);
    /// Lets the window handle its waiting events (paint and mouse reports included).
    void processEvents();
    /// Delivers one waiting paint request of the window, if any.
    bool dispatchPendingPaint();
    /// Shows on the screen what was drawn into the window so far.
    void flushWindow();

    void runHostIdle();
    void beginEdit(std::int32_t index);
    void endEdit(std::int32_t index);
    /// Milliseconds, or 0 without an editor.
    std::uint32_t getTicks() const;

    /// Fails while another modal view is set; null ends the modal state.
    bool setModalView(CView* view);
    CView* getModalView() const { return modalView; }
    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView; }
    /// The modal view, else the last child whose bounds hold the cursor.
    CView* getViewUnderCursor();
    /// The cursor in window coordinates.
    void getCursorPosition(CPosition& where);
    /// 0 restores the saved cursor; 1..6 wait, size W-E, N-S, all, NE-SW, NW-SE.
    void setCursor(std::int32_t type);
    bool setDropActive(bool active);

    bool isWindowOpen() const { return windowOpen; }
    bool isFirstDrawPending() const { return firstDrawPending; }
    void* getParentWindow() const { return parentWindow; }
    /// The frame's window while it exists, else null.
    CNativeWindow* getOpenWindow() const { return windowOpen ? window.get() : nullptr; }

    /// Drops every reference to a view that is being deleted.
    void forgetView(CView* view);

    /// Inside a press, key or wheel event being handled (a drag loop may run in it, and a
    /// host may close the editor from a callback made inside it).
    bool isInPress() const { return pressDepth > 0; }
    /// The editor let go of this frame during an event: the window counts as closed from
    /// now on (no drawing, idle or events), and the frame deletes itself, with the view
    /// handling the event, when the event returns.
    void deleteAfterPress();
    /// The editor is gone: edits and host idle of a frame still in a press do nothing.
    void forgetEditor() { editor = nullptr; }

    void paintWindow(CSurface& surface, const CRectangle& damaged) override;
    void mouseDownInWindow(CSurface& surface, CPosition where,
                           std::optional<std::int32_t> state) override;
    void windowDestroyed() override;

  private:
    /// The span of one event handed to the views; the outermost deletes a frame let go of.
    class EventScope {
      public:
        explicit EventScope(CFrame& frame) : frame(frame) { ++frame.pressDepth; }
        ~EventScope();
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;

      private:
        CFrame& frame;
    };

    bool anythingDirty() const;
    /// Runs `use` with a temporary context over the window; false when there is none.
    bool withWindowContext(const std::function<void(CDrawContext&)>& use);
    /// Removes the view from the list only; false when it was not there.
    bool unlinkView(CView* view);
    /// The steps after unlinking a view: no longer modal, told of its frame's going, and
    /// released if asked.
    void detach(CView* view, bool releaseIt);
    using KeyHandler = std::int32_t (CView::*)(VstKeyCode&);
    /// Offers a key to the focus view, the modal view, then the views from the top down,
    /// until one answers other than -1.
    std::int32_t offerKey(KeyHandler handler, VstKeyCode& keyCode);

    AEffGUIEditor* editor;
    void* parentWindow;
    CResourceBitmap* background = nullptr;
    std::vector<CView*> children;
    CView* modalView = nullptr;
    CView* focusView = nullptr;
    bool firstDrawPending = true;
    bool windowOpen = true;
    bool dropActive = false;
    bool deletePending = false;
    int pressDepth = 0;
    std::unique_ptr<CNativeWindow> window;
};
