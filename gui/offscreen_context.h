// A drawing context over a memory bitmap of its own, which a view draws into and then
// copies onto the window in one step.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/draw_context.h"

class COffscreenContext : public CDrawContext {
  public:
    /// Starts filled with `background`; compatible with the frame's window when it has one.
    COffscreenContext(CFrame* frame, std::int32_t width, std::int32_t height,
                      CRgbColour background);
    ~COffscreenContext() override;

    /// Copies the block of `dest`'s size at `sourceOffset` to `dest`'s top-left.
    void blitTo(CDrawContext* destination, const CRectangle& dest, const CPosition& sourceOffset);

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }
    CRgbColour getBackgroundColour() const { return backgroundColour; }

  private:
    std::int32_t height;
    std::int32_t width;
    CRgbColour backgroundColour;
    std::unique_ptr<CSurface> memory;
};
