#include "gui/offscreen_context.h"

#include "gui/frame.h"
#include "gui/native/native_window.h"

namespace {

std::unique_ptr<CSurface> createMemory(CFrame* frame, std::int32_t width, std::int32_t height) {
    CNativeWindow* window = frame ? frame->getOpenWindow() : nullptr;
    if (window) {
        return window->createOffscreen(width, height);
    }
    return CNativePlatform::current().createOffscreen(width, height);
}

}  // namespace

COffscreenContext::COffscreenContext(CFrame* frame, std::int32_t width, std::int32_t height,
                                     CRgbColour background)
    : CDrawContext(frame, nullptr, nullptr),
      height(height),
      width(width),
      backgroundColour(background),
      memory(createMemory(frame, width, height)) {
    attachSurface(memory.get());
    setFillColour(background);
    setFrameColour(background);
    const CRectangle whole{0, 0, width, height};
    fillRect(whole);
    frameRect(whole);
}

COffscreenContext::~COffscreenContext() {
    attachSurface(nullptr);
}

void COffscreenContext::blitTo(CDrawContext* destination, const CRectangle& dest,
                               const CPosition& sourceOffset) {
    CSurface* target = destination ? destination->getSurface() : nullptr;
    if (target && memory) {
        target->copyFrom(*memory, dest, sourceOffset);
    }
}
