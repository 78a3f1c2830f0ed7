#include "resources/bmp_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t word(const std::vector<uint8_t>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

// Odd widths make rows that need padding and, at 4 bits, a half-used last byte.
BmpImage testPattern(int colours) {
    BmpImage image(7, 3, {0, 0, 0});
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int index = (x + image.width() * y) % colours;
            image.setPixel(x, y, {uint8_t(index * 10), uint8_t(200 - index), uint8_t(index * 7)});
        }
    }
    return image;
}

}  // namespace

TEST(BmpImage, PalettedFilesDecodeToTheSamePixels) {
    for (const int bits : {4, 8}) {
        SCOPED_TRACE(bits);
        const BmpImage image = testPattern(bits == 4 ? 5 : 12);
        const std::string path = ::testing::TempDir() + "pattern" + std::to_string(bits) + ".bmp";
        std::string error;
        ASSERT_TRUE(image.writeBmp(path, bits, error)) << error;

        const std::vector<uint8_t> bytes = readFile(path);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(word(bytes, 2, 4), bytes.size());
        EXPECT_EQ(word(bytes, 22, 4), 3u);  // positive height: rows bottom-up
        EXPECT_EQ(word(bytes, 28, 2), uint32_t(bits));
        EXPECT_EQ(word(bytes, 30, 4), 0u);  // uncompressed

        int width = 0, height = 0, channels = 0;
        stbi_uc* rgb =
            stbi_load_from_memory(bytes.data(), int(bytes.size()), &width, &height, &channels, 3);
        ASSERT_NE(rgb, nullptr);
        ASSERT_EQ(width, image.width());
        ASSERT_EQ(height, image.height());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const stbi_uc* p = rgb + 3 * (y * width + x);
                const BmpImage::Colour expected = image.pixel(x, y);
                EXPECT_TRUE(p[0] == expected.red && p[1] == expected.green && p[2] == expected.blue)
                    << "pixel " << x << ", " << y;
            }
        }
        stbi_image_free(rgb);
    }
}

// A panel-like picture: one large ground with a ramp of 60 shades across it, as
// antialiased text makes. At 16 colours the ground must stay exact, every shade must
// come out near itself, and no colour may appear that the picture does not use (an
// invented pure white would turn transparent where the picture is drawn keyed).
TEST(BmpImage, ExtraColoursAreReducedToTheNearestOfThoseUsed) {
    const BmpImage::Colour ground{232, 229, 224};
    BmpImage image(64, 8, ground);
    for (int x = 0; x < 60; ++x) {
        const auto shade = ground.towards({40, 38, 36}, x / 59.0f);
        image.fillRect(x, 2, x + 1, 6, shade);
    }
    const std::string path = ::testing::TempDir() + "reduced.bmp";
    std::string error;
    ASSERT_TRUE(image.writeBmp(path, 4, error)) << error;
    const std::vector<uint8_t> bytes = readFile(path);
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgb =
        stbi_load_from_memory(bytes.data(), int(bytes.size()), &width, &height, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const stbi_uc* p = rgb + 3 * (y * width + x);
            const BmpImage::Colour got{p[0], p[1], p[2]};
            const BmpImage::Colour wanted = image.pixel(x, y);
            if (wanted == ground) {
                ASSERT_TRUE(got == ground) << x << ", " << y;
            }
            EXPECT_LE(std::abs(got.red - wanted.red), 12) << x << ", " << y;
            EXPECT_NE(std::find(image.pixels().begin(), image.pixels().end(), got),
                      image.pixels().end())
                << x << ", " << y;
        }
    }
    stbi_image_free(rgb);
}
