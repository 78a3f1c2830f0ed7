// Writes the panel as the editor shows it after the bundled demo signal, as a PNG in the
// build folder, so that anyone can look at it; then checks that the file holds exactly
// what the window shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

// Private copies: the toolkit carries a reader of its own, for bitmaps only.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include "tests/meter_level/editor_fixture.h"
#include "tools/host/demo_signal.h"

namespace {

constexpr int kBlockFrames = 512;
constexpr int kBlocksPerIdle = 4;         // a host idling about every 50 ms
constexpr double kSeconds = 1.8;          // into the noise bursts, with the sine still on the left
constexpr int kStripRows[2] = {78, 128};  // the middle rows of the two meter strips

/// The window's pixels as rows of 8-bit red, green and blue.
std::vector<unsigned char> rgbRows(const CSoftSurface& surface) {
    std::vector<unsigned char> rgb;
    rgb.reserve(std::size_t(surface.width()) * surface.height() * 3);
    for (int y = 0; y < surface.height(); ++y) {
        const std::uint32_t* row = surface.row(y);
        for (int x = 0; x < surface.width(); ++x) {
            rgb.push_back(static_cast<unsigned char>(row[x] >> 16));
            rgb.push_back(static_cast<unsigned char>(row[x] >> 8));
            rgb.push_back(static_cast<unsigned char>(row[x]));
        }
    }
    return rgb;
}

TEST(PanelPicture, WritesThePanelAfterTheDemoSignalAsPng) {
    EditorFixture host(false);   // the real bitmaps
    host.setParameter(6, 1.0f);  // hold the peaks for 3 s, so the hold marks stand out
    host.open();
    ASSERT_NE(host.window(), nullptr);
    const CSoftSurface& surface = host.window()->pixels();
    const std::vector<unsigned char> atRest = rgbRows(surface);

    DemoSignal signal;
    std::vector<float> left(kBlockFrames), right(kBlockFrames), outLeft(kBlockFrames),
        outRight(kBlockFrames);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    int played = 0;
    for (int block = 0; played < kSeconds * DemoSignal::kSampleRate; ++block) {
        const int frames = signal.read(left.data(), right.data(), kBlockFrames);
        ASSERT_GT(frames, 0);
        played += frames;
        host.process(inputs, outputs, frames);
        if (block % kBlocksPerIdle == 0) {
            host.idle();
        }
    }
    host.idle();

    const std::vector<unsigned char> shown = rgbRows(surface);
    const int width = surface.width();
    const int height = surface.height();
    ASSERT_TRUE(stbi_write_png(PEVO_PANEL_PNG, width, height, 3, shown.data(), width * 3));
    std::printf("panel written to %s\n", PEVO_PANEL_PNG);

    int readWidth = 0, readHeight = 0, channels = 0;
    unsigned char* read = stbi_load(PEVO_PANEL_PNG, &readWidth, &readHeight, &channels, 3);
    ASSERT_NE(read, nullptr) << stbi_failure_reason();
    const bool sameSize = readWidth == width && readHeight == height;
    EXPECT_TRUE(sameSize) << readWidth << " x " << readHeight;
    EXPECT_TRUE(sameSize && std::equal(shown.begin(), shown.end(), read))
        << "the file differs from the window";
    stbi_image_free(read);

    // Both strips show the signal.
    for (const int y : kStripRows) {
        const auto row = std::size_t(y) * width * 3;
        EXPECT_FALSE(
            std::equal(shown.begin() + row, shown.begin() + row + width * 3, atRest.begin() + row))
            << "row " << y << " shows no meter";
    }
}

}  // namespace
