// A numeric read-out: the value as text (through a converter, or "%2.2f"), over a
// background bitmap or a filled box, with an optional 3D border and shadow.
#pragma once

#include <cstdint>

#include "gui/colour.h"
#include "gui/control.h"

/// Fills `text` (256 characters with the terminating zero) for `value`.
using CTextConverter = void (*)(float value, char* text);
/// As CTextConverter, with the caller's data word.
using CTextConverterWithData = void (*)(float value, char* text, void* data);
/// Turns edited text back into a value; kept for text editing, not called here.
using CTextParser = bool (*)(const char* text, float* value, void* data);

enum CDisplayStyle : std::int32_t {
    kDisplayShadowText = 4,
    kDisplaySunken = 128,
    kDisplayRaised = 256,
    kDisplayNoText = 2048,
    /// Never drawn.
    kDisplayNoDraw = 4096,
};

class CParamDisplay : public CControl {
  public:
    static constexpr int kTextSize = 256;

    /// The background, when given, is retained.
    explicit CParamDisplay(const CRectangle& size, CResourceBitmap* background = nullptr,
                           std::int32_t style = 0);

    void draw(CDrawContext* context) override;

    /// The setters below mark the display dirty when what they set changes.
    virtual void setFont(std::int32_t number);
    virtual void setFontColour(CRgbColour colour);
    virtual void setBackColour(CRgbColour colour);
    virtual void setFrameColour(CRgbColour colour);
    virtual void setShadowColour(CRgbColour colour);
    virtual void setTextAlignment(std::int32_t alignment);
    /// Wins over the plain converter.
    virtual void setTextConverterWithData(CTextConverterWithData converter, void* data);
    virtual void setTextConverter(CTextConverter converter);
    virtual void setTextParser(CTextParser parser);
    virtual void setDisplayStyle(std::int32_t bits);
    virtual void setFontStyle(std::int32_t bits);
    /// Text without a background box.
    virtual void setTextTransparent(bool state);

    /// Background, border and `text`; `bitmap` (if any) replaces the display's background.
    void drawText(CDrawContext* context, const char* text, CResourceBitmap* bitmap = nullptr);

  protected:
    void drawBackground(CDrawContext* context, CResourceBitmap* bitmap);
    void drawBorder(CDrawContext* context);
    /// Marks dirty when `field` changes.
    template <typename T>
    void change(T& field, const T& newValue);

    CTextConverter textConverter = nullptr;
    CTextConverterWithData textConverterWithData = nullptr;
    CTextParser textParser = nullptr;
    void* converterData = nullptr;
    std::int32_t alignment;
    std::int32_t style;
    std::int32_t fontNumber;
    std::int32_t fontStyle = 0;
    CRgbColour fontColour = kColourWhite;
    CRgbColour backColour = kColourBlack;
    CRgbColour frameColour = kColourBlack;
    CRgbColour shadowColour = kColourRed;
    bool textTransparent = true;
};
