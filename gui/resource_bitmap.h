// A reference-counted picture loaded from the library's bitmap resources, drawn opaque or
// leaving out its transparent colour, in pieces given by a destination rectangle and a
// source offset (controls keep several pictures side by side in one bitmap).
#pragma once

#include <cstdint>
#include <memory>

#include "gui/colour.h"
#include "gui/geometry.h"
#include "gui/native/surface.h"

class CDrawContext;

class CResourceBitmap {
  public:
    /// A resource that does not load gives a 0 × 0 bitmap that draws nothing.
    explicit CResourceBitmap(std::int32_t resourceId);
    CResourceBitmap(const CResourceBitmap&) = delete;
    CResourceBitmap& operator=(const CResourceBitmap&) = delete;

    void retain();
    /// Deletes the bitmap when the count goes from 1 to 0; does nothing at 0.
    void release();
    std::int32_t retainCount() const { return referenceCount; }
    /// Makes `held` hold `bitmap` (or none): retains the new bitmap before it releases the
    /// old, so that the same bitmap set again survives.
    static void exchange(CResourceBitmap*& held, CResourceBitmap* bitmap);

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }
    std::int32_t getResourceId() const { return resourceId; }
    bool isLoaded() const { return nativeBitmap != nullptr; }
    void setTransparentColour(CRgbColour colour) { transparentColour = colour; }
    CRgbColour getTransparentColour() const { return transparentColour; }

    /// Copies the piece of `dest`'s size at `sourceOffset` onto the context at `dest`.
    void draw(CDrawContext* context, const CRectangle& dest, const CPosition& sourceOffset);
    /// As draw, leaving out every pixel of the transparent colour.
    void drawTransparent(CDrawContext* context, const CRectangle& dest,
                         const CPosition& sourceOffset);

  private:
    ~CResourceBitmap();

    std::int32_t resourceId;
    std::int32_t referenceCount = 1;
    std::int32_t width = 0;
    std::int32_t height = 0;
    CRgbColour transparentColour = kColourTransparentKey;
    std::unique_ptr<CNativeBitmap> nativeBitmap;
};
