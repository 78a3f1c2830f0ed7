#include "meter_loudness/panel_text.h"

#include <cstdio>
#include <cstring>

#include "meter_loudness/panel_style.h"

PanelText::PanelText(const CRectangle& size, const Style& style) : CView(size), style(style) {}

void PanelText::setText(const char* newText) {
    if (std::strncmp(text, newText, sizeof text - 1) != 0) {
        std::snprintf(text, sizeof text, "%s", newText);
        setDirty(true);
    }
}

void PanelText::draw(CDrawContext* context) {
    setDirty(false);
    if (!context) {
        return;
    }
    context->setFillColour(style.ground);
    panel_style::fillBox(context, bounds.left, bounds.top, bounds.right, bounds.bottom);
    context->setFont(kFontSmall, style.height, kBoldFace);
    context->setFontColour(style.ink);
    context->drawTextInRect(text, bounds, false, style.alignment);
}
