// The frame's input side: mouse presses, keys, wheel and drops reach the right view;
// focus, modal view, cursor and drop registration.
#include <cstddef>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/native/native_platform.h"

namespace {

bool boundsContain(const CView& view, const CPosition& where) {
    CRectangle r;
    view.getBounds(r);
    return r.left <= where.x && where.x <= r.right && r.top <= where.y && where.y <= r.bottom;
}

}  // namespace

void CFrame::mouseDown(CDrawContext* context, const CPosition& where) {
    if (focusView) {
        CView* previous = focusView;
        focusView = nullptr;
        previous->loseFocus(nullptr);
    }
    if (!context) {
        // Views read the mouse through the context they are given; without a window to
        // make one for, there is nothing to press.
        withWindowContext([&](CDrawContext& temporary) { CFrame::mouseDown(&temporary, where); });
        return;
    }
    // The pressed view reads the press event's state itself.
    const std::int32_t state = context->peekMouseState();
    if (modalView) {
        if (modalView->containsPoint(where, state)) {
            modalView->mouseDown(context, where);
        }
        return;
    }
    for (std::size_t i = children.size(); i-- > 0;) {
        CView* child = children[i];
        if (child->isMouseEnabled() && child->containsPoint(where, state)) {
            child->mouseDown(context, where);
            return;
        }
    }
}

CFrame::EventScope::~EventScope() {
    // Deleted only now that no view runs code in it; whoever reported the event touches
    // nothing of the frame afterwards.
    if (--frame.pressDepth == 0 && frame.deletePending) {
        delete &frame;
    }
}

std::int32_t CFrame::keyDown(VstKeyCode& keyCode) {
    return offerKey(&CView::keyDown, keyCode);
}

std::int32_t CFrame::keyUp(VstKeyCode& keyCode) {
    return offerKey(&CView::keyUp, keyCode);
}

std::int32_t CFrame::offerKey(KeyHandler handler, VstKeyCode& keyCode) {
    const EventScope scope(*this);
    std::int32_t result = focusView ? (focusView->*handler)(keyCode) : -1;
    if (result == -1 && modalView) {
        result = (modalView->*handler)(keyCode);
    }
    for (std::size_t i = children.size(); result == -1 && i-- > 0;) {
        result = (children[i]->*handler)(keyCode);
    }
    return result;
}

bool CFrame::dropFiles(void** items, std::int32_t count, std::int32_t type,
                       const CPosition& where) {
    if (modalView || focusView) {
        return false;
    }
    for (std::size_t i = children.size(); i-- > 0;) {
        CView* child = children[i];
        if (child->isMouseEnabled() && boundsContain(*child, where) &&
            child->dropFiles(items, count, type, where)) {
            return true;
        }
    }
    return false;
}

bool CFrame::wheel(CDrawContext* context, const CPosition& where, float distance) {
    (void)where;
    const EventScope scope(*this);
    CView* view = getViewUnderCursor();
    if (!view) {
        return false;
    }
    CPosition cursor;
    getCursorPosition(cursor);
    if (context) {
        return view->wheel(context, cursor, distance);
    }
    bool handled = false;
    withWindowContext(
        [&](CDrawContext& temporary) { handled = view->wheel(&temporary, cursor, distance); });
    return handled;
}

bool CFrame::setModalView(CView* view) {
    if (view && modalView) {
        return false;
    }
    if (modalView) {
        modalView->detachedFrom(this);
    }
    modalView = view;
    if (modalView) {
        modalView->attachedTo(this);
    }
    return true;
}

void CFrame::setFocusView(CView* view) {
    CView* previous = focusView;
    focusView = view;
    if (previous && previous != view) {
        previous->loseFocus(nullptr);
    }
}

CView* CFrame::getViewUnderCursor() {
    if (modalView) {
        return modalView;
    }
    CPosition cursor;
    getCursorPosition(cursor);
    for (std::size_t i = children.size(); i-- > 0;) {
        if (boundsContain(*children[i], cursor)) {
            return children[i];
        }
    }
    return nullptr;
}

void CFrame::getCursorPosition(CPosition& where) {
    where = CNativePlatform::current().cursorPosition();
    if (CNativeWindow* open = getOpenWindow()) {
        const CPosition origin = open->screenOrigin();
        where.x -= origin.x;
        where.y -= origin.y;
    }
}

void CFrame::setCursor(std::int32_t type) {
    if (CNativeWindow* open = getOpenWindow()) {
        open->setCursor(type);
    }
}

bool CFrame::setDropActive(bool active) {
    if (!dropActive && !active) {
        return true;
    }
    CNativeWindow* open = getOpenWindow();
    if (!open || !open->setDropActive(active)) {
        return false;
    }
    dropActive = active;
    return true;
}

void CFrame::mouseDownInWindow(CSurface& surface, CPosition where,
                               std::optional<std::int32_t> state) {
    // The window reporting the press may be deleted with the frame when the scope ends.
    const EventScope scope(*this);
    CDrawContext context(this, &surface, window.get());
    if (state) {
        context.setPressState(*state);
    }
    mouseDown(&context, where);
}
