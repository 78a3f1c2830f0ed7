#include "gui/view.h"

#include "gui/frame.h"

CView::CView(const CRectangle& rect) : bounds(rect), mouseArea(rect) {}

CView::~CView() {
    if (frame) {
        frame->forgetView(this);
    }
}

void CView::draw(CDrawContext* context) {
    (void)context;
    setDirty(false);
}

void CView::drawArea(CDrawContext* context, const CRectangle& updateRect) {
    (void)updateRect;
    draw(context);
}

bool CView::overlaps(const CRectangle& rect) const {
    return rect.right >= bounds.left && rect.left <= bounds.right && rect.bottom >= bounds.top &&
           rect.top <= bounds.bottom;
}

void CView::mouseDown(CDrawContext* context, const CPosition& where) {
    (void)context;
    (void)where;
}

void CView::redrawIfDirty(CDrawContext* context) {
    // Without a context nothing can be drawn: the view stays dirty for the next idle.
    if (context && isDirty()) {
        draw(context);
        setDirty(false);
    }
}

std::int32_t CView::notify(CView* sender, const char* message) {
    (void)sender;
    (void)message;
    return 0;
}

std::int32_t CView::keyDown(VstKeyCode& keyCode) {
    (void)keyCode;
    return -1;
}

std::int32_t CView::keyUp(VstKeyCode& keyCode) {
    (void)keyCode;
    return -1;
}

bool CView::dropFiles(void** items, std::int32_t count, std::int32_t type, const CPosition& where) {
    (void)items;
    (void)count;
    (void)type;
    (void)where;
    return false;
}

bool CView::wheel(CDrawContext* context, const CPosition& where, float distance) {
    (void)context;
    (void)where;
    (void)distance;
    return false;
}

void CView::loseFocus(CDrawContext* context) {
    (void)context;
}

void CView::gainFocus(CDrawContext* context) {
    (void)context;
}

bool CView::isDirty() const {
    return dirty.load(std::memory_order_relaxed);
}

void CView::setDirty(bool state) {
    dirty.store(state, std::memory_order_relaxed);
}

void CView::setMouseEnabled(bool state) {
    mouseEnabled = state;
}

bool CView::isMouseEnabled() const {
    return mouseEnabled;
}

void CView::setMouseArea(const CRectangle& rect) {
    mouseArea = rect;
}

void CView::getMouseArea(CRectangle& rect) const {
    rect = mouseArea;
}

bool CView::containsPoint(const CPosition& where, std::int32_t mouseState) const {
    (void)mouseState;
    return bounds.left <= where.x && where.x <= bounds.right && bounds.top <= where.y &&
           where.y <= bounds.bottom;
}

void CView::setTransparent(bool state) {
    transparent = state;
}

bool CView::isTransparent() const {
    return transparent;
}

void CView::setBounds(const CRectangle& rect) {
    bounds = rect;
    setDirty(true);
}

void CView::getBounds(CRectangle& rect) const {
    rect = bounds;
}

void CView::setContainer(CView* view) {
    container = view;
}

void CView::setFrame(CFrame* newFrame) {
    frame = newFrame;
}

AEffGUIEditor* CView::getEditor() const {
    return frame ? frame->getEditor() : nullptr;
}

bool CView::detachedFrom(CView* parent) {
    (void)parent;
    return true;
}

bool CView::attachedTo(CView* parent) {
    (void)parent;
    return true;
}

void CView::release() {
    if (referenceCount <= 0) {
        return;
    }
    if (--referenceCount == 0) {
        delete this;
    }
}

void CView::retain() {
    ++referenceCount;
}

std::int32_t CView::retainCount() const {
    return referenceCount;
}
