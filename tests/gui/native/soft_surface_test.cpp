#include "gui/native/soft/soft_surface.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/native/soft/soft_bitmap.h"

namespace {

constexpr CRgbColour kBlue{0, 0, 255, 0};

/// The surface as rows of '#' (the given colour) and '.' (anything else).
std::string picture(const CSoftSurface& surface, std::uint32_t colour = 0xFFFFFF) {
    std::string rows;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            rows += surface.pixel(x, y) == colour ? '#' : '.';
        }
        rows += '\n';
    }
    return rows;
}

CSoftSurface penSurface(int width, int height, CPenStyle style = CPenStyle::solid) {
    CSoftSurface surface(width, height);
    surface.setPen(kColourWhite, 1, style);
    return surface;
}

}  // namespace

TEST(SoftSurfaceTest, FillRectIsRightAndBottomExclusiveAndClipped) {
    CSoftSurface surface(6, 4);
    surface.setBrush(kColourWhite);
    surface.fillRect({1, 1, 3, 3});
    surface.fillRect({4, 2, 4, 4});    // empty
    surface.fillRect({5, 3, 4, 2});    // inverted
    surface.fillRect({4, -9, 99, 1});  // mostly outside
    EXPECT_EQ(picture(surface),
              "....##\n"
              ".##...\n"
              ".##...\n"
              "......\n");
}

TEST(SoftSurfaceTest, StraightLinesLeaveOutTheirEndPixel) {
    CSoftSurface surface = penSurface(6, 6);
    surface.moveTo({0, 0});
    surface.lineTo({5, 0});
    surface.lineTo({5, 5});  // from the current point, which the last line moved
    surface.moveTo({4, 4});
    surface.lineTo({1, 1});
    surface.moveTo({3, 3});
    surface.lineTo({3, 3});  // no length, nothing
    EXPECT_EQ(picture(surface),
              "######\n"
              ".....#\n"
              "..#..#\n"
              "...#.#\n"
              "....##\n"
              "......\n");
}

TEST(SoftSurfaceTest, HalfwayPixelsOfShallowLinesTakeTheLowerCoordinate) {
    // As the Windows line drawer does, so the two directions differ.
    CSoftSurface forward = penSurface(5, 2);
    forward.moveTo({0, 0});
    forward.lineTo({4, 1});
    EXPECT_EQ(picture(forward), "###..\n...#.\n");
    CSoftSurface backward = penSurface(5, 2);
    backward.moveTo({4, 1});
    backward.lineTo({0, 0});
    EXPECT_EQ(picture(backward), ".##..\n...##\n");
    CSoftSurface steep = penSurface(2, 5);
    steep.moveTo({0, 0});
    steep.lineTo({1, 4});
    EXPECT_EQ(picture(steep), "#.\n#.\n#.\n.#\n..\n");
}

TEST(SoftSurfaceTest, FarLinesAreClippedWithoutWalkingEveryStep) {
    CSoftSurface surface = penSurface(4, 3);
    surface.moveTo({-2000000000, 1});
    surface.lineTo({2000000000, 1});
    surface.moveTo({2, 2000000000});
    surface.lineTo({2, -2000000000});
    EXPECT_EQ(picture(surface), "..#.\n####\n..#.\n");
    CSoftSurface diagonal = penSurface(3, 3);
    diagonal.moveTo({-2000000000, -2000000000});
    diagonal.lineTo({2000000000, 2000000000});
    EXPECT_EQ(picture(diagonal), "#..\n.#.\n..#\n");
}

TEST(SoftSurfaceTest, DottedPenRunsThreeOnThreeOffFromEachLineStart) {
    CSoftSurface surface = penSurface(14, 2, CPenStyle::dotted);
    surface.moveTo({0, 0});
    surface.lineTo({14, 0});
    surface.moveTo({0, 1});
    surface.lineTo({4, 1});
    surface.lineTo({12, 1});
    EXPECT_EQ(picture(surface), "###...###...##\n###.###...##..\n");
}

TEST(SoftSurfaceTest, WidePenCoversTheEndPointToo) {
    CSoftSurface surface(8, 3);
    surface.setPen(kColourWhite, 3, CPenStyle::solid);
    surface.moveTo({2, 1});
    surface.lineTo({5, 1});
    EXPECT_EQ(picture(surface), "..####..\n.######.\n..####..\n");
}

TEST(SoftSurfaceTest, EllipseFillsItsRectangleSymmetrically) {
    CSoftSurface small(6, 6);
    small.setBrush(kColourWhite);
    small.fillEllipse({1, 1, 5, 5});
    EXPECT_EQ(picture(small), "......\n..##..\n.####.\n.####.\n..##..\n......\n");

    CSoftSurface surface(30, 20);
    surface.setBrush(kColourWhite);
    const CRectangle rect{3, 2, 26, 17};
    surface.fillEllipse(rect);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool inside =
                x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            const std::uint32_t pixel = surface.pixel(x, y);
            if (!inside) {
                EXPECT_EQ(pixel, 0u) << x << "," << y;
                continue;
            }
            EXPECT_EQ(pixel, surface.pixel(rect.left + rect.right - 1 - x, y)) << x << "," << y;
            EXPECT_EQ(pixel, surface.pixel(x, rect.top + rect.bottom - 1 - y)) << x << "," << y;
        }
    }
    EXPECT_EQ(surface.pixel(14, 9), 0xFFFFFFu);
    EXPECT_EQ(surface.pixel(3, 2), 0u);
}

TEST(SoftSurfaceTest, CopyFromClipsAgainstBothSurfaces) {
    CSoftSurface source(3, 2);
    for (int i = 0; i < 6; ++i) {
        source.setPixel(i % 3, i / 3, std::uint32_t(i + 1));
    }
    CSoftSurface target(4, 3);
    target.fill(0xAA);
    // Source columns 1..2 and rows 0..1 exist; the block hangs off both sides.
    target.copyFrom(source, {-1, 1, 4, 5}, {0, 0});
    EXPECT_EQ(target.pixel(0, 1), 2u);
    EXPECT_EQ(target.pixel(1, 1), 3u);
    EXPECT_EQ(target.pixel(0, 2), 5u);
    EXPECT_EQ(target.pixel(1, 2), 6u);
    EXPECT_EQ(target.pixel(2, 1), 0xAAu);  // beyond the source's right edge
    EXPECT_EQ(target.pixel(0, 0), 0xAAu);

    // Copying within one surface reads the pixels as they were before the copy.
    CSoftSurface strip(5, 1);
    for (int x = 0; x < 5; ++x) {
        strip.setPixel(x, 0, std::uint32_t(x));
    }
    strip.copyFrom(strip, {1, 0, 5, 1}, {0, 0});
    EXPECT_EQ(std::vector<std::uint32_t>(strip.row(0), strip.row(0) + 5),
              (std::vector<std::uint32_t>{0, 0, 1, 2, 3}));
}

TEST(SoftSurfaceTest, BitmapSubImagesCopyOpaqueOrWithoutTheKeyColour) {
    // Two 2x2 pictures side by side; the right one has white corners.
    const CSoftBitmap strip(4, 2, {1, 2, 0xFFFFFF, 3, 4, 5, 6, 0xFFFFFF});
    CSoftSurface surface(3, 3);
    surface.fill(0x77);
    surface.drawBitmap(strip, {0, 0, 2, 2}, {2, 0});
    EXPECT_EQ(surface.pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(surface.pixel(1, 1), 0xFFFFFFu);

    surface.fill(0x77);
    surface.drawBitmapTransparent(strip, {1, 1, 3, 3}, {2, 0}, kColourTransparentKey);
    EXPECT_EQ(surface.pixel(1, 1), 0x77u);
    EXPECT_EQ(surface.pixel(2, 1), 3u);
    EXPECT_EQ(surface.pixel(1, 2), 6u);
    EXPECT_EQ(surface.pixel(2, 2), 0x77u);

    // The key is compared as a colour: blue keys out blue only.
    surface.fill(0x77);
    surface.drawBitmapTransparent(CSoftBitmap(2, 1, {0x0000FF, 0xFF0000}), {0, 0, 2, 1}, {0, 0},
                                  kBlue);
    EXPECT_EQ(surface.pixel(0, 0), 0x77u);
    EXPECT_EQ(surface.pixel(1, 0), 0xFF0000u);
}
