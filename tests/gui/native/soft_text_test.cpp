#include <gtest/gtest.h>

#include "gui/native/soft/soft_font.h"
#include "gui/native/soft/soft_surface.h"

namespace {

constexpr std::uint32_t kBack = 0x0000FF;
constexpr std::uint32_t kText = 0xFFFFFF;

/// Smallest rectangle holding every pixel for which `test` holds; empty when none.
template <typename Test>
CRectangle bounds(const CSoftSurface& surface, Test test) {
    CRectangle box{surface.width(), surface.height(), 0, 0};
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if (test(surface.pixel(x, y))) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
    }
    return box;
}

class SoftTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        font_.height = 12;
        ASSERT_TRUE(CSoftFont::get(font_)) << "no font for Arial";
        cellHeight_ = CSoftFont::get(font_)->height();
        surface_.setFont(font_);
        surface_.setBackColour({0, 0, 255, 0});
        surface_.setTextColour(kColourWhite);
    }
    /// Draws opaque text and answers the cell it filled (ink and back colour).
    CRectangle drawnCell(const char* text, const CRectangle& rect, CTextAlign align) {
        surface_.fill(0);
        surface_.drawText(text, rect, align, true);
        return bounds(surface_, [](std::uint32_t pixel) { return pixel != 0; });
    }

    CFontDescription font_;
    int cellHeight_ = 0;
    CSoftSurface surface_{200, 60};
};

}  // namespace

TEST_F(SoftTextTest, WidthIsTheSumOfTheCharacterAdvances) {
    const int width = surface_.textWidth("-12.5 dB");
    EXPECT_GT(width, 30);
    EXPECT_EQ(width, surface_.textWidth("-12.5") + surface_.textWidth(" dB"));
    EXPECT_EQ(surface_.textWidth(""), 0);
    font_.height = 18;
    surface_.setFont(font_);
    EXPECT_GT(surface_.textWidth("-12.5 dB"), width);
}

TEST_F(SoftTextTest, NegativeHeightsAskForTheCellAndHugeOnesAreHeldBack) {
    font_.height = -30;
    const CSoftFont* byCell = CSoftFont::get(font_);
    ASSERT_TRUE(byCell);
    EXPECT_NEAR(byCell->height(), 30, 1);
    font_.height = 1 << 30;
    const CSoftFont* huge = CSoftFont::get(font_);
    ASSERT_TRUE(huge);
    EXPECT_LT(huge->height(), 2000);
}

TEST_F(SoftTextTest, OpaqueCellIsPlacedByAlignmentAndCentredVertically) {
    // Positions as the Windows text call gives them for this font (cell 15, "0 ms" 29 wide).
    font_.height = 13;
    surface_.setFont(font_);
    ASSERT_EQ(CSoftFont::get(font_)->height(), 15);
    ASSERT_EQ(surface_.textWidth("0 ms"), 29);
    const CRectangle rect{10, 10, 111, 30};
    const CRectangle left = drawnCell("0 ms", rect, CTextAlign::left);
    EXPECT_EQ(left.left, 10);
    EXPECT_EQ(left.top, 13);
    EXPECT_EQ(left.right, 39);
    EXPECT_EQ(left.bottom, 28);
    EXPECT_EQ(drawnCell("0 ms", rect, CTextAlign::centre).left, 46);
    EXPECT_EQ(drawnCell("0 ms", rect, CTextAlign::right).left, 82);
    // Glyphs are blended from the back colour towards the text colour.
    const CRectangle ink = bounds(surface_, [](std::uint32_t p) { return p != 0 && p != kBack; });
    EXPECT_GT(ink.right, ink.left);
    for (int y = ink.top; y < ink.bottom; ++y) {
        for (int x = ink.left; x < ink.right; ++x) {
            const std::uint32_t p = surface_.pixel(x, y);
            EXPECT_TRUE((p & 0xFF) == 0xFF && (p >> 16) == ((p >> 8) & 0xFF)) << x << "," << y;
        }
    }
    EXPECT_EQ(surface_.pixel(rect.right - 1, 13), kBack);
}

TEST_F(SoftTextTest, TextStaysInsideItsRectangle) {
    const CRectangle rect{20, 22, 40, 27};  // smaller than the text in both directions
    const CRectangle drawn = drawnCell("-12.5 dB", rect, CTextAlign::centre);
    EXPECT_EQ(drawn.left, rect.left);
    EXPECT_EQ(drawn.top, rect.top);
    EXPECT_EQ(drawn.right, rect.right);
    EXPECT_EQ(drawn.bottom, rect.bottom);

    surface_.fill(0);
    surface_.drawText("-12.5 dB", {-30, -8, 15, 6}, CTextAlign::left, true);
    EXPECT_EQ(bounds(surface_, [](std::uint32_t p) { return p != 0; }).right, 15);
}

TEST_F(SoftTextTest, TransparentTextOnlyInksAndUnderlineRunsUnderTheText) {
    surface_.fill(0);
    surface_.drawText("mm", {10, 10, 110, 30}, CTextAlign::left, false);
    EXPECT_EQ(bounds(surface_, [](std::uint32_t p) { return p == kBack; }).right, 0);
    const CRectangle plain = bounds(surface_, [](std::uint32_t p) { return p != 0; });

    font_.underline = true;
    surface_.setFont(font_);
    surface_.fill(0);
    surface_.drawText("mm", {10, 10, 110, 30}, CTextAlign::left, false);
    const CRectangle underlined = bounds(surface_, [](std::uint32_t p) { return p != 0; });
    EXPECT_GT(underlined.bottom, plain.bottom);
    const int lineRow = underlined.bottom - 1;
    for (int x = 10; x < 10 + surface_.textWidth("mm"); ++x) {
        EXPECT_EQ(surface_.pixel(x, lineRow), kText) << x;
    }

    surface_.fill(0);
    surface_.drawText(nullptr, {0, 0, 200, 60}, CTextAlign::left, true);
    EXPECT_EQ(bounds(surface_, [](std::uint32_t p) { return p != 0; }).right, 0);
}
