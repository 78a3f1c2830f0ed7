#include "gui/native/soft/soft_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void put(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

/// A 24-bit BMP file of 2 × 2 pixels given top row first as 0x00RRGGBB.
std::vector<unsigned char> bmp2x2(const std::uint32_t (&pixels)[4]) {
    const int rowBytes = 8;  // 6 bytes of colour, padded to 4
    std::vector<unsigned char> bytes(54 + 2 * rowBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(bytes, 2, std::uint32_t(bytes.size()), 4);
    put(bytes, 10, 54, 4);
    put(bytes, 14, 40, 4);
    put(bytes, 18, 2, 4);
    put(bytes, 22, 2, 4);
    put(bytes, 26, 1, 2);
    put(bytes, 28, 24, 2);
    for (int y = 0; y < 2; ++y) {
        const std::size_t row = 54 + std::size_t(1 - y) * rowBytes;  // stored bottom-up
        for (int x = 0; x < 2; ++x) {
            put(bytes, row + 3 * x, pixels[2 * y + x], 3);  // blue, green, red
        }
    }
    return bytes;
}

}  // namespace

TEST(SoftBitmapTest, DecodesRowsTopDownWithRedInTheHighByte) {
    const auto bytes = bmp2x2({0xFF0000, 0x00FF00, 0x0000FF, 0x123456});
    const auto bitmap = CSoftBitmap::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width(), 2);
    EXPECT_EQ(bitmap->height(), 2);
    EXPECT_EQ(bitmap->pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(bitmap->pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(bitmap->pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(bitmap->pixel(1, 1), 0x123456u);
}

TEST(SoftBitmapTest, RejectsBrokenFiles) {
    auto bytes = bmp2x2({0, 0, 0, 0});
    EXPECT_FALSE(CSoftBitmap::decode(bytes.data(), 30));
    EXPECT_FALSE(CSoftBitmap::decode(nullptr, 0));
    bytes[0] = 'X';
    EXPECT_FALSE(CSoftBitmap::decode(bytes.data(), bytes.size()));
}

TEST(SoftBitmapTest, EveryEmbeddedBitmapLoadsAtItsSize) {
    struct Expected {
        int id, width, height;
    };
    const Expected expected[] = {{128, 900, 202}, {129, 16, 70},  {130, 14, 12}, {131, 604, 27},
                                 {132, 604, 27},  {133, 31, 135}, {134, 27, 56}};
    for (const Expected& e : expected) {
        const auto bitmap = loadSoftBitmap(e.id);
        ASSERT_TRUE(bitmap) << e.id;
        EXPECT_EQ(bitmap->width(), e.width) << e.id;
        EXPECT_EQ(bitmap->height(), e.height) << e.id;
        EXPECT_EQ(bitmap->pixels().size(), std::size_t(e.width) * e.height) << e.id;
    }
    EXPECT_FALSE(loadSoftBitmap(127));
    EXPECT_FALSE(loadSoftBitmap(0));
}
