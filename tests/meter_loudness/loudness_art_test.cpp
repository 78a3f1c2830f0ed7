// The loudness panel's committed bitmaps are what the art generator draws from the shared
// layout today: a layout change without new bitmaps would put captions beside the wrong
// controls.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "resources/font_renderer.h"
#include "resources/loudness_panel_art.h"

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(LoudnessArt, CommittedBitmapsAreTheGeneratorsOutput) {
    FontRenderer fonts;
    std::string error;
    ASSERT_TRUE(fonts.load(error)) << error;
    const LoudnessPanelArt art(fonts);
    const struct {
        int id;
        BmpImage image;
    } pictures[] = {{loudness_layout::kPanelBitmap, art.frontPanel()},
                    {loudness_layout::kResetBitmap, art.resetButton()}};
    for (const auto& picture : pictures) {
        const std::string name = "bmp00" + std::to_string(picture.id) + ".bmp";
        const std::string drawn = ::testing::TempDir() + name;
        ASSERT_TRUE(picture.image.writeBmp(drawn, 8, error)) << error;
        EXPECT_TRUE(bytesOf(drawn) == bytesOf(PEVO_LOUDNESS_BITMAP_FOLDER "/" + name))
            << name << " differs from the generator's; run the `bitmaps` target";
        std::remove(drawn.c_str());
    }
}

}  // namespace
