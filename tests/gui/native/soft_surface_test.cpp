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

TEST(SoftSurfaceTest, FarLinesAreClippedAndStepExactly) {
    CSoftSurface surface = penSurface(4, 3);
    surface.moveTo({-2000000000, 1});
    surface.lineTo({2000000000, 1});
    surface.moveTo({-2000000000, -2000000000});
    surface.lineTo({2000000000, 2000000000});
    EXPECT_EQ(picture(surface), "#...\n####\n..#.\n");
}

TEST(SoftSurfaceTest, DottedPenRunsThreeOnThreeOffFromEachLineStartWhenThin) {
    CSoftSurface surface = penSurface(14, 2, CPenStyle::dotted);
    surface.moveTo({0, 0});
    surface.lineTo({14, 0});
    surface.moveTo({0, 1});
    surface.lineTo({4, 1});
    surface.lineTo({12, 1});
    EXPECT_EQ(picture(surface), "###...###...##\n###.###...##..\n");
    // Wide pens have no dots; they cover the end point with a rounded end.
    CSoftSurface wide(9, 3);
    wide.setPen(kColourWhite, 3, CPenStyle::dotted);
    wide.moveTo({2, 1});
    wide.lineTo({6, 1});
    EXPECT_EQ(picture(wide), "..#####..\n.#######.\n..#####..\n");
}

TEST(SoftSurfaceTest, EllipseFillsItsRectangleAsTheWindowsCallDoes) {
    CSoftSurface surface(18, 11);
    surface.setBrush(kColourWhite);
    surface.fillEllipse({1, 1, 17, 10});
    EXPECT_EQ(picture(surface),
              "..................\n"
              ".....########.....\n"
              "...############...\n"
              "..##############..\n"
              ".################.\n"
              ".################.\n"
              ".################.\n"
              "..##############..\n"
              "...############...\n"
              ".....########.....\n"
              "..................\n");
}

TEST(SoftSurfaceTest, CopyFromClipsAgainstBothSurfaces) {
    CSoftSurface source(3, 2);
    for (int i = 0; i < 6; ++i) {
        source.setPixel(i % 3, i / 3, std::uint32_t(i + 1));
    }
    CSoftSurface target(4, 3);
    target.fill(9);
    // The block hangs off the target's left and bottom and off the source's right.
    target.copyFrom(source, {-1, 1, 4, 5}, {0, 0});
    EXPECT_EQ(target.pixels(), (std::vector<std::uint32_t>{9, 9, 9, 9, 2, 3, 9, 9, 5, 6, 9, 9}));
    // Within one surface the copy reads the pixels as they were before it.
    source.copyFrom(source, {1, 0, 3, 2}, {0, 0});
    EXPECT_EQ(source.pixels(), (std::vector<std::uint32_t>{1, 1, 2, 4, 4, 5}));
}

TEST(SoftSurfaceTest, BitmapSubImagesCopyOpaqueOrWithoutTheKeyColour) {
    // Two 2 × 2 pictures side by side; the right one has white corners.
    const std::uint32_t w = 0xFFFFFF;
    const CSoftBitmap strip(4, 2, {1, 2, w, 3, 4, 5, 6, w});
    CSoftSurface surface(3, 2);
    surface.fill(7);
    surface.drawBitmap(strip, {0, 0, 2, 2}, {2, 0});
    surface.drawBitmapTransparent(strip, {1, 0, 3, 2}, {2, 0}, kColourTransparentKey);
    EXPECT_EQ(surface.pixels(), (std::vector<std::uint32_t>{w, 3, 3, 6, 6, 7}));
    // The key is compared as a colour: blue keys out blue only.
    surface.drawBitmapTransparent(CSoftBitmap(2, 1, {0x0000FF, 0xFF0000}), {0, 0, 2, 1}, {0, 0},
                                  kBlue);
    EXPECT_EQ(surface.pixel(0, 0), w);
    EXPECT_EQ(surface.pixel(1, 0), 0xFF0000u);
}
