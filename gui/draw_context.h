// A short-lived drawing context over one surface (a window's or a memory bitmap's):
// colours, pen, font, lines, rectangles, text, and the mouse state of the moment.
#pragma once

#include <cstdint>
#include <optional>

#include "gui/colour.h"
#include "gui/geometry.h"
#include "gui/native/native_platform.h"
#include "gui/native/surface.h"

class CFrame;
class CNativeWindow;

enum CFontNumber : std::int32_t {
    kFontSystem = 0,
    kFontVeryBig,
    kFontBig,
    kFontNormal,
    kFontSmall,
    kFontSmaller,
    kFontVerySmall,
    kFontSymbol,
    kFontCount
};

enum CFontStyleBits : std::int32_t { kBoldFace = 1, kItalicFace = 2, kUnderlineFace = 4 };

/// Any other value behaves as kAlignLeft.
enum CTextAlignment : std::int32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

enum CLineStyle : std::int32_t { kLineSolid = 0, kLineDotted = 1 };

class CDrawContext {
  public:
    /// Without a surface nothing is drawn; without a window the origin is (0, 0).
    CDrawContext(CFrame* frame, CSurface* surface, CNativeWindow* window);
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;
    virtual ~CDrawContext();

    /// Buttons and modifier keys as CMouseStateBits: the first call after setPressState
    /// answers the press event's state, later calls those down right now.
    std::int32_t getMouseState() const;
    /// As getMouseState, without using up the press event's state.
    std::int32_t peekMouseState() const;
    /// The state the press event carried: a click shorter than the first poll must
    /// still reach the pressed view as a click, modifiers included.
    void setPressState(std::int32_t state) { pressState = state; }
    /// The cursor position in window coordinates.
    void getMousePosition(CPosition& where) const;

    /// Numbers outside 0..7 pick kFontSystem; height 0 picks the number's default height.
    void setFont(std::int32_t number, std::int32_t height = 0, std::int32_t style = 0);
    std::int32_t textWidth(const char* text);

    void setFontColour(CRgbColour colour);
    void setFrameColour(CRgbColour colour);
    void setLineStyle(std::int32_t style);
    void setFillColour(CRgbColour colour);

    void moveTo(const CPosition& point);
    /// Leaves out the end pixel.
    void lineTo(const CPosition& point);
    /// Outline through all four corners, in the frame colour.
    void frameRect(const CRectangle& rect);
    /// Fills (left + 1, top + 1) to (right, bottom), right and bottom exclusive.
    void fillRect(const CRectangle& rect);
    /// Fills the ellipse inside the rectangle moved 1 pixel right and down.
    void fillEllipse(const CRectangle& rect);
    /// One line, vertically centred; left alignment starts 1 pixel in from the left edge.
    void drawTextInRect(const char* text, const CRectangle& rect, bool opaque = true,
                        std::int32_t alignment = kAlignCenter);

    CSurface* getSurface() const { return surface; }
    CFrame* getFrame() const { return frame; }
    CNativeWindow* getWindow() const { return window; }
    std::int32_t getFontSize() const { return fontSize; }
    std::int32_t getFontNumber() const { return fontNumber; }
    CRgbColour getFontColour() const { return fontColour; }
    CRgbColour getFrameColour() const { return frameColour; }
    CRgbColour getFillColour() const { return fillColour; }
    std::int32_t getLineStyle() const { return lineStyle; }
    std::int32_t getLineWidth() const { return lineWidth; }

    /// The face and default height of a font number (0..7).
    static CFontDescription fontDescription(std::int32_t number);
    static std::int32_t defaultFontHeight(std::int32_t number);

  protected:
    /// For contexts whose surface exists only after the base is built (offscreen ones).
    void attachSurface(CSurface* newSurface) { surface = newSurface; }

  private:
    void applyPen();

    CPosition windowOrigin;
    CSurface* surface;
    CNativeWindow* window;
    CFrame* frame;
    mutable std::optional<std::int32_t> pressState;
    std::int32_t fontSize = 0;
    std::int32_t fontNumber = 0;
    CRgbColour fontColour = kColourWhite;
    std::int32_t lineWidth = 1;
    CRgbColour frameColour = kColourWhite;
    CRgbColour fillColour = kColourBlack;
    std::int32_t lineStyle = kLineSolid;
};
