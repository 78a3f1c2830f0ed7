#include "gui/draw_context.h"

#include "gui/native/native_window.h"

namespace {

struct FontEntry {
    const char* face;
    std::int32_t height;
};

constexpr FontEntry kFontTable[kFontCount] = {
    {"Arial", 12}, {"Arial", 18}, {"Arial", 14}, {"Arial", 12},
    {"Arial", 11}, {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};

std::int32_t validFontNumber(std::int32_t number) {
    return number >= 0 && number < kFontCount ? number : kFontSystem;
}

}  // namespace

CDrawContext::CDrawContext(CFrame* frame, CSurface* surface, CNativeWindow* window)
    : surface(surface), window(window), frame(frame) {
    if (window) {
        windowOrigin = window->screenOrigin();
    }
    if (surface) {
        setFrameColour(kColourWhite);
        setLineStyle(kLineSolid);
        setFillColour(kColourBlack);
        setFontColour(kColourWhite);
    }
}

CDrawContext::~CDrawContext() = default;

std::int32_t CDrawContext::getMouseState() const {
    const std::int32_t state = peekMouseState();
    pressState.reset();
    return state;
}

std::int32_t CDrawContext::peekMouseState() const {
    return pressState ? *pressState : CNativePlatform::current().mouseState();
}

void CDrawContext::getMousePosition(CPosition& where) const {
    const CPosition screen = CNativePlatform::current().cursorPosition();
    where.x = screen.x - windowOrigin.x;
    where.y = screen.y - windowOrigin.y;
}

CFontDescription CDrawContext::fontDescription(std::int32_t number) {
    number = validFontNumber(number);
    CFontDescription font;
    font.face = kFontTable[number].face;
    font.height = kFontTable[number].height;
    font.bold = number == kFontSystem;
    font.decorative = number == kFontSymbol;
    return font;
}

std::int32_t CDrawContext::defaultFontHeight(std::int32_t number) {
    return kFontTable[validFontNumber(number)].height;
}

void CDrawContext::setFont(std::int32_t number, std::int32_t height, std::int32_t style) {
    fontNumber = validFontNumber(number);
    fontSize = height != 0 ? height : defaultFontHeight(fontNumber);
    CFontDescription font = fontDescription(fontNumber);
    font.height = fontSize;
    font.bold = font.bold || (style & kBoldFace) != 0;
    font.italic = (style & kItalicFace) != 0;
    font.underline = (style & kUnderlineFace) != 0;
    if (surface) {
        surface->setFont(font);
    }
}

std::int32_t CDrawContext::textWidth(const char* text) {
    return surface && text ? surface->textWidth(text) : 0;
}

void CDrawContext::setFontColour(CRgbColour colour) {
    fontColour = colour;
    if (surface) {
        surface->setTextColour(colour);
    }
}

void CDrawContext::setFrameColour(CRgbColour colour) {
    frameColour = colour;
    applyPen();
}

void CDrawContext::setLineStyle(std::int32_t style) {
    lineStyle = style;
    applyPen();
}

void CDrawContext::applyPen() {
    if (surface) {
        const CPenStyle pen = lineStyle == kLineDotted ? CPenStyle::dotted : CPenStyle::solid;
        surface->setPen(frameColour, lineWidth, pen);
    }
}

void CDrawContext::setFillColour(CRgbColour colour) {
    fillColour = colour;
    if (surface) {
        surface->setBackColour(colour);
        surface->setBrush(colour);
    }
}

void CDrawContext::moveTo(const CPosition& point) {
    if (surface) {
        surface->moveTo(point);
    }
}

void CDrawContext::lineTo(const CPosition& point) {
    if (surface) {
        surface->lineTo(point);
    }
}

void CDrawContext::frameRect(const CRectangle& rect) {
    moveTo({rect.left, rect.top});
    lineTo({rect.right, rect.top});
    lineTo({rect.right, rect.bottom});
    lineTo({rect.left, rect.bottom});
    lineTo({rect.left, rect.top});
}

void CDrawContext::fillRect(const CRectangle& rect) {
    if (surface) {
        surface->fillRect({rect.left + 1, rect.top + 1, rect.right, rect.bottom});
    }
}

void CDrawContext::fillEllipse(const CRectangle& rect) {
    if (surface) {
        surface->fillEllipse({rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1});
    }
}

void CDrawContext::drawTextInRect(const char* text, const CRectangle& rect, bool opaque,
                                  std::int32_t alignment) {
    if (!text || !surface) {
        return;
    }
    CRectangle cell = rect;
    CTextAlign align = CTextAlign::left;
    if (alignment == kAlignCenter) {
        align = CTextAlign::centre;
    } else if (alignment == kAlignRight) {
        align = CTextAlign::right;
    } else {
        cell.left += 1;
    }
    surface->drawText(text, cell, align, opaque);
}
