#include <gtest/gtest.h>

#include "gui/native/soft/soft_font.h"
#include "gui/native/soft/soft_surface.h"

namespace {

constexpr std::uint32_t kBack = 0x0000FF;

/// Smallest rectangle holding every pixel that is not black; empty when none.
CRectangle inked(const CSoftSurface& surface) {
    CRectangle box{surface.width(), surface.height(), 0, 0};
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if (surface.pixel(x, y) != 0) {
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
        ASSERT_TRUE(CSoftFont::get(font)) << "no font for Arial";
        surface.setBackColour({0, 0, 255, 0});
        surface.setTextColour(kColourWhite);
    }
    /// Draws `text` in a font of `height` pixels and answers what changed.
    CRectangle draw(int height, const char* text, const CRectangle& rect, CTextAlign align,
                    bool opaque = true, bool underline = false) {
        font.height = height;
        font.underline = underline;
        surface.setFont(font);
        surface.fill(0);
        surface.drawText(text, rect, align, opaque);
        return inked(surface);
    }

    CFontDescription font;
    CSoftSurface surface{200, 60};
};

}  // namespace

TEST_F(SoftTextTest, CellsAndWidthsHaveTheWindowsMetrics) {
    // Figures of the Windows text calls for Arial (Liberation Sans is metric-compatible).
    const struct {
        int height;
        bool bold;
        int cell, width;
    } fonts[] = {{9, false, 10, 35}, {12, false, 14, 46}, {12, true, 14, 47}, {18, false, 20, 68}};
    for (const auto& f : fonts) {
        font.height = f.height;
        font.bold = f.bold;
        surface.setFont(font);
        EXPECT_EQ(CSoftFont::get(font)->height(), f.cell) << f.height;
        EXPECT_EQ(surface.textWidth("-12.5 dB"), f.width) << f.height;
    }
    font.height = -30;  // the whole cell
    EXPECT_NEAR(CSoftFont::get(font)->height(), 30, 1);
    font.height = 1 << 30;  // held to a drawable size
    ASSERT_TRUE(CSoftFont::get(font));
    EXPECT_LT(CSoftFont::get(font)->height(), 2000);
}

TEST_F(SoftTextTest, OpaqueCellIsPlacedByAlignmentAndCentredVertically) {
    // Positions as the Windows text call gives them (cell 15, "0 ms" 29 wide).
    const CRectangle rect{10, 10, 111, 30};
    const CRectangle left = draw(13, "0 ms", rect, CTextAlign::left);
    EXPECT_EQ(left.left, 10);
    EXPECT_EQ(left.top, 13);
    EXPECT_EQ(left.right, 39);
    EXPECT_EQ(left.bottom, 28);
    EXPECT_EQ(surface.pixel(38, 13), kBack);
    EXPECT_EQ(draw(13, "0 ms", rect, CTextAlign::centre).left, 46);
    EXPECT_EQ(draw(13, "0 ms", rect, CTextAlign::right).left, 82);
}

TEST_F(SoftTextTest, TextStaysInsideItsRectangle) {
    const CRectangle rect{20, 22, 40, 27};  // smaller than the text both ways
    const CRectangle drawn = draw(12, "-12.5 dB", rect, CTextAlign::centre);
    EXPECT_EQ(drawn.left, rect.left);
    EXPECT_EQ(drawn.top, rect.top);
    EXPECT_EQ(drawn.right, rect.right);
    EXPECT_EQ(drawn.bottom, rect.bottom);
    EXPECT_EQ(draw(12, "-12.5 dB", {-30, -8, 15, 6}, CTextAlign::left).right, 15);
    EXPECT_EQ(draw(12, nullptr, {0, 0, 200, 60}, CTextAlign::left).right, 0);
}

TEST_F(SoftTextTest, TransparentTextOnlyInksAndUnderlineRunsUnderTheText) {
    const CRectangle rect{10, 10, 110, 30};
    const CRectangle plain = draw(12, "mm", rect, CTextAlign::left, false);
    for (const std::uint32_t pixel : surface.pixels()) {
        // Glyphs blend from black towards white: grey, never the back colour.
        ASSERT_TRUE(pixel >> 16 == (pixel & 0xFF) && pixel >> 16 == ((pixel >> 8) & 0xFF));
    }
    const CRectangle underlined = draw(12, "mm", rect, CTextAlign::left, false, true);
    EXPECT_GT(underlined.bottom, plain.bottom);
    for (int x = 10; x < 10 + surface.textWidth("mm"); ++x) {
        EXPECT_EQ(surface.pixel(x, underlined.bottom - 1), 0xFFFFFFu) << x;
    }
}
