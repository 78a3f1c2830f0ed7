#include "gui/resource_bitmap.h"

#include "gui/draw_context.h"
#include "gui/native/native_platform.h"

CResourceBitmap::CResourceBitmap(std::int32_t resourceId)
    : resourceId(resourceId),
      nativeBitmap(CNativePlatform::current().loadBitmap(resourceId & 0xFFFF)) {
    if (nativeBitmap) {
        width = nativeBitmap->width();
        height = nativeBitmap->height();
    }
}

CResourceBitmap::~CResourceBitmap() = default;

void CResourceBitmap::retain() {
    ++referenceCount;
}

void CResourceBitmap::release() {
    if (referenceCount <= 0) {
        return;
    }
    if (--referenceCount == 0) {
        delete this;
    }
}

void CResourceBitmap::exchange(CResourceBitmap*& held, CResourceBitmap* bitmap) {
    if (bitmap) {
        bitmap->retain();
    }
    if (held) {
        held->release();
    }
    held = bitmap;
}

void CResourceBitmap::draw(CDrawContext* context, const CRectangle& dest,
                           const CPosition& sourceOffset) {
    CSurface* surface = context ? context->getSurface() : nullptr;
    if (surface && nativeBitmap) {
        surface->drawBitmap(*nativeBitmap, dest, sourceOffset);
    }
}

void CResourceBitmap::drawTransparent(CDrawContext* context, const CRectangle& dest,
                                      const CPosition& sourceOffset) {
    CSurface* surface = context ? context->getSurface() : nullptr;
    if (surface && nativeBitmap) {
        surface->drawBitmapTransparent(*nativeBitmap, dest, sourceOffset, transparentColour);
    }
}
