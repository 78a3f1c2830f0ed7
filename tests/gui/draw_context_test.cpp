#include "gui/draw_context.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/frame.h"
#include "gui/native/soft/headless_platform.h"
#include "gui/native/soft/soft_surface.h"
#include "gui/offscreen_context.h"
#include "gui/resource_bitmap.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr CRgbColour kGrey{0x80, 0x80, 0x80, 0};

/// Writes down what the context asks of its surface instead of drawing.
class CRecordingSurface : public CSoftSurface {
  public:
    CRecordingSurface() : CSoftSurface(1, 1) {}
    void setFont(const CFontDescription& description) override { font = description; }
    void fillEllipse(const CRectangle& rect) override { lastRect = rect; }
    void drawText(const char* text, const CRectangle& rect, CTextAlign align,
                  bool opaque) override {
        calls += std::string("draw ") + text + (opaque ? " opaque;" : ";");
        lastRect = rect;
        lastAlign = align;
    }

    std::string calls;
    CFontDescription font;
    CRectangle lastRect;
    CTextAlign lastAlign = CTextAlign::centre;
};

TEST(DrawContextTest, RectanglesFollowTheWindowsPixelRules) {
    CHeadlessPlatform platform;
    CSoftSurface surface(40, 40);
    CDrawContext context(nullptr, &surface, nullptr);
    context.setFillColour(kColourRed);
    context.fillRect({10, 10, 20, 20});
    EXPECT_EQ(surface.pixel(11, 11), kRed);
    EXPECT_EQ(surface.pixel(19, 19), kRed);
    EXPECT_EQ(surface.pixel(10, 15), 0u);
    EXPECT_EQ(surface.pixel(15, 10), 0u);
    EXPECT_EQ(surface.pixel(20, 15), 0u);
    EXPECT_EQ(surface.pixel(15, 20), 0u);

    surface.fill(0);
    context.frameRect({10, 10, 20, 20});  // white: the initial frame colour
    for (int i = 10; i <= 20; ++i) {
        EXPECT_EQ(surface.pixel(i, 10), kWhite) << i;
        EXPECT_EQ(surface.pixel(i, 20), kWhite) << i;
        EXPECT_EQ(surface.pixel(10, i), kWhite) << i;
        EXPECT_EQ(surface.pixel(20, i), kWhite) << i;
    }
    EXPECT_EQ(surface.pixel(15, 15), 0u);
    EXPECT_EQ(surface.pixel(21, 20), 0u);
}

TEST(DrawContextTest, FontTable) {
    CHeadlessPlatform platform;
    CRecordingSurface surface;
    CDrawContext context(nullptr, &surface, nullptr);

    context.setFont(9);
    EXPECT_EQ(context.getFontNumber(), kFontSystem);
    EXPECT_STREQ(surface.font.face, "Arial");
    EXPECT_EQ(surface.font.height, 12);
    EXPECT_TRUE(surface.font.bold);

    context.setFont(kFontNormal, 0, kItalicFace | kUnderlineFace);
    EXPECT_EQ(context.getFontSize(), 12);
    EXPECT_FALSE(surface.font.bold);
    EXPECT_TRUE(surface.font.italic && surface.font.underline);

    context.setFont(kFontNormal, 20, kBoldFace);
    EXPECT_EQ(surface.font.height, 20);
    EXPECT_TRUE(surface.font.bold);

    context.setFont(kFontSymbol);
    EXPECT_STREQ(surface.font.face, "Symbol");
    EXPECT_EQ(surface.font.height, 13);
    EXPECT_TRUE(surface.font.decorative);
}

TEST(DrawContextTest, TextPlacementAndEllipseRectangle) {
    CHeadlessPlatform platform;
    CRecordingSurface surface;
    CDrawContext context(nullptr, &surface, nullptr);

    context.drawTextInRect("a", {10, 0, 50, 20}, false, 5);
    EXPECT_EQ(surface.lastAlign, CTextAlign::left);
    EXPECT_EQ(surface.lastRect.left, 11);
    EXPECT_EQ(surface.lastRect.right, 50);
    context.drawTextInRect("b", {10, 0, 50, 20}, true, kAlignRight);
    EXPECT_EQ(surface.lastAlign, CTextAlign::right);
    EXPECT_EQ(surface.lastRect.left, 10);
    context.drawTextInRect(nullptr, {10, 0, 50, 20}, true, kAlignCenter);
    EXPECT_EQ(surface.calls, "draw a;draw b opaque;");

    context.fillEllipse({10, 20, 30, 40});
    EXPECT_EQ(surface.lastRect.left, 11);
    EXPECT_EQ(surface.lastRect.top, 21);
    EXPECT_EQ(surface.lastRect.right, 31);
    EXPECT_EQ(surface.lastRect.bottom, 41);
}

TEST(DrawContextTest, OffscreenStartsInItsBackgroundAndBlitsAPiece) {
    CHeadlessPlatform platform;
    COffscreenContext offscreen(nullptr, 8, 6, kGrey);
    const auto* memory = static_cast<CSoftSurface*>(offscreen.getSurface());
    ASSERT_NE(memory, nullptr);
    for (std::uint32_t pixel : memory->pixels()) {
        ASSERT_EQ(pixel, 0x808080u);
    }
    offscreen.setFillColour(kColourRed);
    offscreen.fillRect({3, 2, 8, 6});  // red in x 4..7, y 3..5

    CSoftSurface window(20, 20);
    CDrawContext destination(nullptr, &window, nullptr);
    offscreen.blitTo(&destination, {10, 10, 13, 12}, {3, 2});
    EXPECT_EQ(window.pixel(10, 10), 0x808080u);
    EXPECT_EQ(window.pixel(11, 11), kRed);
    EXPECT_EQ(window.pixel(12, 11), kRed);
    EXPECT_EQ(window.pixel(13, 11), 0u);
    EXPECT_EQ(window.pixel(11, 12), 0u);
}

TEST(DrawContextTest, BitmapsCopyOpaqueOrKeyedAndLiveWhileReferenced) {
    CHeadlessPlatform platform;
    // Two 2 × 2 pictures side by side: the right one has white (the key) in one corner.
    platform.addBitmap(7, 4, 2, {1, 2, kWhite, 3, 4, 5, 6, 7});
    auto* bitmap = new CResourceBitmap(7);
    EXPECT_EQ(bitmap->getWidth(), 4);
    EXPECT_EQ(bitmap->getHeight(), 2);

    CSoftSurface surface(10, 10);
    surface.fill(kRed);
    CDrawContext context(nullptr, &surface, nullptr);
    bitmap->draw(&context, {0, 0, 2, 2}, {2, 0});
    EXPECT_EQ(surface.pixel(0, 0), kWhite);
    EXPECT_EQ(surface.pixel(1, 1), 7u);
    bitmap->drawTransparent(&context, {5, 5, 7, 7}, {2, 0});
    EXPECT_EQ(surface.pixel(5, 5), kRed);
    EXPECT_EQ(surface.pixel(6, 5), 3u);
    EXPECT_EQ(surface.pixel(5, 6), 6u);
    bitmap->setTransparentColour({0, 0, 3, 0});
    bitmap->drawTransparent(&context, {0, 5, 2, 7}, {2, 0});
    EXPECT_EQ(surface.pixel(0, 5), kWhite);
    EXPECT_EQ(surface.pixel(1, 5), kRed);

    bitmap->retain();
    bitmap->release();
    EXPECT_EQ(platform.liveBitmaps(), 1);
    bitmap->release();
    EXPECT_EQ(platform.liveBitmaps(), 0);

    auto* panel = new CResourceBitmap(128);  // embedded in the library
    EXPECT_EQ(panel->getWidth(), 900);
    EXPECT_EQ(panel->getHeight(), 202);
    panel->release();

    auto* missing = new CResourceBitmap(9999);
    EXPECT_EQ(missing->getWidth(), 0);
    missing->draw(&context, {0, 0, 5, 5}, {0, 0});
    missing->drawTransparent(&context, {0, 0, 5, 5}, {0, 0});
    EXPECT_EQ(surface.pixel(4, 4), kRed);
    missing->release();
}

TEST(DrawContextTest, MouseComesFromThePlatformInWindowCoordinates) {
    CHeadlessPlatform platform;
    int host = 0;
    CFrame frame({0, 0, 10, 10}, &host, nullptr);
    CHeadlessWindow* window = platform.lastWindow();
    window->moveTo({100, 50});
    CDrawContext context(&frame, &window->pixels(), window);
    platform.setMouseState(kMouseLeft | kKeyControl);
    platform.setCursorPosition({130, 90});
    EXPECT_EQ(context.getMouseState(), 17);
    CPosition where;
    context.getMousePosition(where);
    EXPECT_EQ(where.x, 30);
    EXPECT_EQ(where.y, 40);
}

}  // namespace
