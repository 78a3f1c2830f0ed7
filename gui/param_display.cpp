#include "gui/param_display.h"

#include <cstdio>

#include "gui/draw_context.h"
#include "gui/resource_bitmap.h"

CParamDisplay::CParamDisplay(const CRectangle& size, CResourceBitmap* background,
                             std::int32_t style)
    : CControl(size, nullptr, 0, background),
      alignment(kAlignCenter),
      style(style),
      fontNumber(kFontNormal) {
    if (style & kDisplayNoDraw) {
        setDirty(false);
    }
}

void CParamDisplay::draw(CDrawContext* context) {
    if (!context && !(style & kDisplayNoDraw)) {
        return;
    }
    char text[kTextSize] = {};
    const float current = getValue();
    if (textConverterWithData) {
        textConverterWithData(current, text, converterData);
    } else if (textConverter) {
        textConverter(current, text);
    } else {
        std::snprintf(text, sizeof text, "%2.2f", current);
    }
    // A converter that forgot the terminating zero must not make the drawing read on.
    text[kTextSize - 1] = '\0';
    drawText(context, text);
    markDrawn(current);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CResourceBitmap* bitmap) {
    // Without a context the display stays dirty, so the next idle shows the text.
    if (!context && !(style & kDisplayNoDraw)) {
        return;
    }
    setDirty(false);
    if (style & kDisplayNoDraw) {
        return;
    }
    drawBackground(context, bitmap);
    if (style & (kDisplaySunken | kDisplayRaised)) {
        drawBorder(context);
    }
    if ((style & kDisplayNoText) || !text || !text[0]) {
        return;
    }
    context->setFont(fontNumber, 0, fontStyle);
    if (style & kDisplayShadowText) {
        const CRectangle shadow{bounds.left + 1, bounds.top + 1, bounds.right + 1,
                                bounds.bottom + 1};
        context->setFontColour(shadowColour);
        context->drawTextInRect(text, shadow, !textTransparent, alignment);
    }
    context->setFontColour(fontColour);
    context->drawTextInRect(text, bounds, !textTransparent, alignment);
}

void CParamDisplay::drawBackground(CDrawContext* context, CResourceBitmap* bitmap) {
    CResourceBitmap* picture = bitmap ? bitmap : backgroundBitmap;
    if (picture) {
        if (transparent) {
            picture->drawTransparent(context, bounds, backOffset);
        } else {
            picture->draw(context, bounds, backOffset);
        }
        return;
    }
    if (transparent) {
        return;
    }
    context->setFillColour(backColour);
    context->fillRect(bounds);
    if (!(style & (kDisplaySunken | kDisplayRaised))) {
        context->setFrameColour(frameColour);
        context->frameRect(bounds);
    }
}

void CParamDisplay::drawBorder(CDrawContext* context) {
    const bool sunken = (style & kDisplaySunken) != 0;
    const std::int32_t l = bounds.left;
    const std::int32_t t = bounds.top;
    const std::int32_t r = bounds.right;
    const std::int32_t b = bounds.bottom;
    context->setFrameColour(sunken ? backColour : frameColour);
    context->moveTo({l, b});
    context->lineTo({l, t});
    context->lineTo({r + 1, t});
    context->setFrameColour(sunken ? frameColour : backColour);
    context->moveTo({r, t + 1});
    context->lineTo({r, b});
    context->lineTo({l, b});
}

template <typename T>
void CParamDisplay::change(T& field, const T& newValue) {
    if (field != newValue) {
        field = newValue;
        setDirty(true);
    }
}

void CParamDisplay::setFont(std::int32_t number) {
    change(fontNumber, number);
}

void CParamDisplay::setFontColour(CRgbColour colour) {
    change(fontColour, colour);
}

void CParamDisplay::setBackColour(CRgbColour colour) {
    change(backColour, colour);
}

void CParamDisplay::setFrameColour(CRgbColour colour) {
    change(frameColour, colour);
}

void CParamDisplay::setShadowColour(CRgbColour colour) {
    change(shadowColour, colour);
}

void CParamDisplay::setTextAlignment(std::int32_t newAlignment) {
    change(alignment, newAlignment);
}

void CParamDisplay::setTextConverterWithData(CTextConverterWithData converter, void* data) {
    textConverterWithData = converter;
    converterData = data;
}

void CParamDisplay::setTextConverter(CTextConverter converter) {
    textConverter = converter;
}

void CParamDisplay::setTextParser(CTextParser parser) {
    textParser = parser;
}

void CParamDisplay::setDisplayStyle(std::int32_t bits) {
    change(style, bits);
}

void CParamDisplay::setFontStyle(std::int32_t bits) {
    change(fontStyle, bits);
}

void CParamDisplay::setTextTransparent(bool state) {
    textTransparent = state;
}
