// The base of every view: a reference-counted rectangle inside the frame's window that
// draws itself through a drawing context and may take mouse presses and keys.
#pragma once

#include <atomic>
#include <cstdint>

#include "gui/geometry.h"
#include "plugin/vst2.h"

class AEffGUIEditor;
class CDrawContext;
class CFrame;

class CView {
  public:
    explicit CView(const CRectangle& bounds);
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    /// A view still known to its frame is forgotten there (list, focus, modal view).
    virtual ~CView();

    /// Default: only clears the dirty state.
    virtual void draw(CDrawContext* context);
    virtual void drawArea(CDrawContext* context, const CRectangle& updateRect);
    /// Edges count as inside on both rectangles.
    virtual bool overlaps(const CRectangle& rect) const;
    virtual void mouseDown(CDrawContext* context, const CPosition& where);
    virtual void redrawIfDirty(CDrawContext* context);
    virtual std::int32_t notify(CView* sender, const char* message);
    /// Answers -1 when the key was not handled.
    virtual std::int32_t keyDown(VstKeyCode& keyCode);
    virtual std::int32_t keyUp(VstKeyCode& keyCode);
    virtual bool dropFiles(void** items, std::int32_t count, std::int32_t type,
                           const CPosition& where);
    virtual bool wheel(CDrawContext* context, const CPosition& where, float distance);
    virtual void loseFocus(CDrawContext* context);
    virtual void gainFocus(CDrawContext* context);
    virtual bool isDirty() const;
    virtual void setDirty(bool state);
    virtual void setMouseEnabled(bool state);
    virtual bool isMouseEnabled() const;
    /// Stored only: hit testing uses the bounds.
    virtual void setMouseArea(const CRectangle& rect);
    virtual void getMouseArea(CRectangle& rect) const;
    /// Right and bottom edges are inside; the mouse state is not looked at.
    virtual bool containsPoint(const CPosition& where, std::int32_t mouseState) const;
    virtual void setTransparent(bool state);
    virtual bool isTransparent() const;
    /// Marks the view dirty.
    virtual void setBounds(const CRectangle& rect);
    virtual void getBounds(CRectangle& rect) const;
    virtual void setContainer(CView* view);
    virtual void setFrame(CFrame* newFrame);
    /// Null without a frame.
    virtual AEffGUIEditor* getEditor() const;
    virtual bool detachedFrom(CView* parent);
    virtual bool attachedTo(CView* parent);
    /// Deletes the view when the count goes from 1 to 0; does nothing at 0.
    virtual void release();
    virtual void retain();
    virtual std::int32_t retainCount() const;

    CFrame* getFrame() const { return frame; }

  protected:
    std::int32_t referenceCount = 1;
    CRectangle bounds;
    CRectangle mouseArea;
    CFrame* frame = nullptr;
    CView* container = nullptr;
    /// Written by the host's audio thread through the editor too; relaxed is enough.
    std::atomic<bool> dirty{false};
    bool mouseEnabled = true;
    bool transparent = false;
};
