#include "resources/control_art.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool isLit(BmpImage::Colour colour) {
    return colour.red > 200 || colour.green > 200;
}

}  // namespace

// The meter cuts its images at x = truncate(k / 40 x width) for whole k. Every such column
// must be ground in both images, so that no lit segment spills across a cut, and the unlit
// image must show nothing lit.
TEST(ControlArt, MeterImagesHaveFortyEqualSegmentsInTheirColours) {
    const BmpImage on = ControlArt::meterStrip(true);
    const BmpImage off = ControlArt::meterStrip(false);
    ASSERT_EQ(on.width(), 604);
    ASSERT_EQ(off.height(), on.height());
    auto boundary = [&](int k) { return static_cast<int>(k / 40.0f * on.width()); };
    for (int y = 0; y < on.height(); ++y) {
        for (int k = 0; k < 40; ++k) {
            EXPECT_TRUE(on.pixel(boundary(k), y) == off.pixel(boundary(k), y)) << k << ", " << y;
        }
        for (int x = 0; x < off.width(); ++x) {
            ASSERT_FALSE(isLit(off.pixel(x, y))) << x << ", " << y;
        }
    }
    for (int segment = 0; segment < 40; ++segment) {
        const int middle = (boundary(segment) + boundary(segment + 1)) / 2;
        const BmpImage::Colour centre = on.pixel(middle, on.height() / 2);
        const bool green = centre.green > 200 && centre.red < 100;
        const bool yellow = centre.green > 200 && centre.red > 200;
        const bool red = centre.red > 200 && centre.green < 100;
        EXPECT_TRUE(segment < 28 ? green : segment < 34 ? yellow : red) << segment;
    }
}

TEST(ControlArt, EachSwitchImageLightsItsOwnPosition) {
    for (const int positions : {2, 3}) {
        const int height = positions == 3 ? 45 : 28;
        const BmpImage strip = ControlArt::switchStrip(positions, positions == 3 ? 31 : 27, height);
        ASSERT_EQ(strip.height(), positions * height);
        for (int image = 0; image < positions; ++image) {
            int firstLit = height, lastLit = -1;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < strip.width(); ++x) {
                    if (isLit(strip.pixel(x, image * height + y))) {
                        firstLit = std::min(firstLit, y);
                        lastLit = std::max(lastLit, y);
                    }
                }
            }
            // Lit rows lie within this position's share of the sub-image, top to bottom.
            EXPECT_GE(firstLit, image * height / positions) << positions << " " << image;
            EXPECT_LT(lastLit, (image + 1) * height / positions) << positions << " " << image;
        }
    }
}
