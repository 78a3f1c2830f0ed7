#include "gui/frame.h"

#include <algorithm>
#include <new>

#include "gui/aeff_gui_editor.h"
#include "gui/draw_context.h"
#include "gui/native/native_platform.h"
#include "gui/resource_bitmap.h"
#include "plugin/audio_effect_x.h"

namespace {

constexpr std::size_t kChildGrowth = 20;

AudioEffectX* effectOf(AEffGUIEditor* editor) {
    return editor ? dynamic_cast<AudioEffectX*>(editor->getEffect()) : nullptr;
}

}  // namespace

CFrame::CFrame(const CRectangle& bounds, void* parentWindow, AEffGUIEditor* editor)
    : CView(bounds), editor(editor), parentWindow(parentWindow) {
    CNativePlatform& platform = CNativePlatform::current();
    platform.frameCreated();
    if (parentWindow) {
        window = platform.createWindow(parentWindow, bounds.width(), bounds.height(), *this);
        if (window) {
            setDropActive(true);
        }
    }
}

CFrame::~CFrame() {
    if (editor) {
        editor->frameGone(this);
    }
    setCursor(0);
    setDropActive(false);
    removeAllViews(true);
    modalView = nullptr;
    setBackground(nullptr);
    CNativePlatform::current().frameDestroyed();
    window.reset();
}

void CFrame::draw(CDrawContext* context) {
    firstDrawPending = false;
    if (!context) {
        return;
    }
    if (background) {
        const CRectangle whole{0, 0, background->getWidth(), background->getHeight()};
        background->draw(context, whole, {0, 0});
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i]->draw(context);
    }
    if (modalView) {
        modalView->draw(context);
    }
}

void CFrame::drawArea(CDrawContext* context, const CRectangle& updateRect) {
    firstDrawPending = false;
    if (!context) {
        return;
    }
    if (background) {
        background->draw(context, updateRect, {updateRect.left, updateRect.top});
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i]->overlaps(updateRect)) {
            children[i]->drawArea(context, updateRect);
        }
    }
    if (modalView && modalView->overlaps(updateRect)) {
        modalView->draw(context);
    }
}

void CFrame::redrawIfDirty(CDrawContext* context) {
    if (!windowOpen) {
        return;
    }
    if (modalView) {
        modalView->redrawIfDirty(context);
    } else if (isDirty()) {
        draw(context);
        setDirty(false);
    } else {
        for (std::size_t i = 0; i < children.size(); ++i) {
            children[i]->redrawIfDirty(context);
        }
    }
}

bool CFrame::anythingDirty() const {
    return modalView || isDirty() ||
           std::any_of(children.begin(), children.end(),
                       [](const CView* child) { return child->isDirty(); });
}

bool CFrame::withWindowContext(const std::function<void(CDrawContext&)>& use) {
    CNativeWindow* open = getOpenWindow();
    CSurface* surface = open ? open->acquireSurface() : nullptr;
    if (!surface) {
        return false;
    }
    {
        CDrawContext context(this, surface, open);
        use(context);
    }
    open->releaseSurface(surface);
    return true;
}

void CFrame::idle() {
    if (!windowOpen || firstDrawPending || !anythingDirty()) {
        return;
    }
    withWindowContext([this](CDrawContext& context) { redrawIfDirty(&context); });
}

void CFrame::drawWindow(CView* view) {
    withWindowContext([this, view](CDrawContext& context) {
        if (view && containsView(view)) {
            view->draw(&context);
        } else {
            draw(&context);
        }
    });
}

void CFrame::processEvents() {
    if (CNativeWindow* open = getOpenWindow()) {
        open->processEvents();
    }
}

bool CFrame::dispatchPendingPaint() {
    CNativeWindow* open = getOpenWindow();
    return open && open->dispatchPendingPaint();
}

void CFrame::flushWindow() {
    if (CNativeWindow* open = getOpenWindow()) {
        open->flush();
    }
}

AEffGUIEditor* CFrame::getEditor() const {
    return editor;
}

bool CFrame::addView(CView* view) {
    // A view listed twice would be released twice.
    if (!view || containsView(view)) {
        return false;
    }
    if (children.size() == children.capacity()) {
        try {
            children.reserve(children.capacity() + kChildGrowth);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    children.push_back(view);
    view->setFrame(this);
    view->attachedTo(this);
    return true;
}

bool CFrame::unlinkView(CView* view) {
    const auto found = std::find(children.begin(), children.end(), view);
    if (found == children.end()) {
        return false;
    }
    children.erase(found);
    return true;
}

bool CFrame::removeView(CView* view, bool releaseIt) {
    if (!view || !unlinkView(view)) {
        return true;
    }
    if (focusView == view) {
        focusView = nullptr;
        view->loseFocus(nullptr);
    }
    detach(view, releaseIt);
    return true;
}

bool CFrame::removeAllViews(bool releaseThem) {
    if (focusView) {
        CView* previous = focusView;
        focusView = nullptr;
        previous->loseFocus(nullptr);
    }
    std::vector<CView*> removed;
    removed.swap(children);
    for (CView* view : removed) {
        detach(view, releaseThem);
    }
    return true;
}

void CFrame::detach(CView* view, bool releaseIt) {
    if (modalView == view) {
        modalView = nullptr;
    }
    view->detachedFrom(this);
    view->setFrame(nullptr);
    if (releaseIt) {
        view->release();
    }
}

bool CFrame::containsView(CView* view) const {
    return view && std::find(children.begin(), children.end(), view) != children.end();
}

std::int32_t CFrame::viewCount() const {
    return static_cast<std::int32_t>(children.size());
}

CView* CFrame::viewAt(std::int32_t index) const {
    if (index < 0 || index >= viewCount()) {
        return nullptr;
    }
    return children[static_cast<std::size_t>(index)];
}

void CFrame::forgetView(CView* view) {
    unlinkView(view);
    if (focusView == view) {
        focusView = nullptr;
    }
    if (modalView == view) {
        modalView = nullptr;
    }
}

void CFrame::setBackground(CResourceBitmap* bitmap) {
    CResourceBitmap::exchange(background, bitmap);
}

void CFrame::runHostIdle() {
    if (editor) {
        editor->runHostIdle();
    }
}

void CFrame::beginEdit(std::int32_t index) {
    if (AudioEffectX* effect = effectOf(editor)) {
        effect->beginEdit(index);
    }
}

void CFrame::endEdit(std::int32_t index) {
    if (AudioEffectX* effect = effectOf(editor)) {
        effect->endEdit(index);
    }
}

std::uint32_t CFrame::getTicks() const {
    return editor ? editor->getTicks() : 0;
}

void CFrame::paintWindow(CSurface& surface, const CRectangle& damaged) {
    CDrawContext context(this, &surface, window.get());
    drawArea(&context, damaged);
}

void CFrame::deleteAfterPress() {
    deletePending = true;
    windowOpen = false;
}

void CFrame::windowDestroyed() {
    windowOpen = false;
    parentWindow = nullptr;
}
