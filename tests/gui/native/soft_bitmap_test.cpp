#include "gui/native/soft/soft_bitmap.h"

#include <gtest/gtest.h>

TEST(SoftBitmapTest, DecodesRowsTopDownWithRedInTheHighByte) {
    // A 2 × 2 24-bit file: red, green over blue, 0x123456; rows stored bottom-up as BGR.
    const unsigned char file[] = {
        'B',  'M',  70,   0,    0,    0,    0, 0, 0, 0, 54, 0, 0, 0,         // file header
        40,   0,    0,    0,    2,    0,    0, 0, 2, 0, 0,  0, 1, 0, 24, 0,  //
        0,    0,    0,    0,    16,   0,    0, 0, 0, 0, 0,  0, 0, 0, 0,  0,  //
        0,    0,    0,    0,    0,    0,    0, 0,                            // info header
        0xFF, 0x00, 0x00, 0x56, 0x34, 0x12, 0, 0,                            // bottom row
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0};                           // top row
    const auto bitmap = CSoftBitmap::decode(file, sizeof file);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width(), 2);
    EXPECT_EQ(bitmap->height(), 2);
    EXPECT_EQ(bitmap->pixels(),
              (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0x123456}));
    EXPECT_FALSE(CSoftBitmap::decode(file, 30));
}

TEST(SoftBitmapTest, EveryEmbeddedBitmapLoadsAtItsSize) {
    const struct {
        int id, width, height;
    } expected[] = {{128, 900, 202}, {129, 16, 70},  {130, 14, 12}, {131, 604, 27},
                    {132, 604, 27},  {133, 31, 135}, {134, 27, 56}};
    for (const auto& e : expected) {
        const auto bitmap = loadSoftBitmap(e.id);
        ASSERT_TRUE(bitmap) << e.id;
        EXPECT_EQ(bitmap->width(), e.width) << e.id;
        EXPECT_EQ(bitmap->height(), e.height) << e.id;
    }
    EXPECT_FALSE(loadSoftBitmap(127));
}
