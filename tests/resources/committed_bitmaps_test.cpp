// The bitmaps the libraries embed, as committed: what a user sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "resources/panel_layout.h"

namespace {

struct Picture {
    int width = 0, height = 0, bitsPerPixel = 0;
    std::vector<stbi_uc> rgb;

    const stbi_uc* at(int x, int y) const { return rgb.data() + 3 * (y * width + x); }
    bool is(int x, int y, int red, int green, int blue) const {
        const stbi_uc* p = at(x, y);
        return p[0] == red && p[1] == green && p[2] == blue;
    }
};

Picture load(int id) {
    const std::string path =
        std::string(PEVO_BITMAP_FOLDER) + "/bmp00" + std::to_string(id) + ".bmp";
    std::ifstream file(path, std::ios::binary);
    const std::vector<stbi_uc> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    Picture picture;
    int channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(bytes.data(), int(bytes.size()), &picture.width,
                                         &picture.height, &channels, 3);
    if (rgb && bytes.size() > 30) {
        picture.bitsPerPixel = bytes[28] | bytes[29] << 8;
        picture.rgb.assign(rgb, rgb + 3 * picture.width * picture.height);
    }
    stbi_image_free(rgb);
    return picture;
}

// The meter strips' placement and the cut between segments k and k + 1.
constexpr int kMeterLeft = 151;
constexpr int kUpperStripBottom = 92;
constexpr int kLowerStripTop = 115;
int boundary(int k) {
    return k * 604 / 40;
}

/// Column runs [first, last] of scale ink between the strips, split where at least two
/// columns hold no ink.
std::vector<std::pair<int, int>> scaleLabels(const Picture& panel) {
    std::vector<std::pair<int, int>> labels;
    int blank = 2;
    for (int x = kMeterLeft - 10; x < kMeterLeft + 604 + 24; ++x) {
        bool ink = false;
        for (int y = kUpperStripBottom; y < kLowerStripTop; ++y) {
            ink = ink || panel.at(x, y)[0] > 150;  // light on the dark red glass
        }
        if (ink && blank >= 2) {
            labels.push_back({x, x});
        } else if (ink) {
            labels.back().second = x;
        }
        blank = ink ? 0 : blank + 1;
    }
    return labels;
}

}  // namespace

TEST(CommittedBitmaps, HaveTheirSizesAndDepthsAndNoKeyWhiteOutsideTheHandle) {
    const struct {
        int id, width, height, bits;
    } expected[] = {{128, 900, 202, 8}, {129, 16, 70, 4},  {130, 14, 12, 4}, {131, 604, 27, 8},
                    {132, 604, 27, 8},  {133, 31, 135, 8}, {134, 27, 56, 8}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.id);
        const Picture picture = load(e.id);
        ASSERT_EQ(picture.width, e.width);
        ASSERT_EQ(picture.height, e.height);
        EXPECT_EQ(picture.bitsPerPixel, e.bits);
        // Pure white is the key colour of keyed drawing: only the fader cap, drawn keyed,
        // uses it, and there only around its edge.
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const bool edge = x == 0 || y == 0 || x == e.width - 1 || y == e.height - 1;
                if (e.id != 130 || !edge) {
                    ASSERT_FALSE(picture.is(x, y, 255, 255, 255)) << x << ", " << y;
                }
            }
        }
    }
}

// The editor places the controls by the panel layout, the art generator draws the legends
// around the same points: the bitmaps must be the sizes the layout gives them.
TEST(CommittedBitmaps, FitThePanelLayout) {
    using namespace layout;
    const struct {
        int id, width, height;
    } placed[] = {{kPanelBitmap, kWidth, kHeight},
                  {kSliderTrackBitmap, kSliderWidth, kSliderHeight},
                  {kSliderHandleBitmap, kHandleWidth, kHandleHeight},
                  {kMeterOffBitmap, kMeterWidth, kMeterHeight},
                  {kMeterOnBitmap, kMeterWidth, kMeterHeight},
                  {kThreeWaySwitchBitmap, kSwitchWidth, kSwitchPositions * kSwitchSubImage},
                  {kTwoWaySwitchBitmap, kRmsSwitchWidth, kRmsSwitchPositions * kRmsSwitchSubImage}};
    for (const auto& p : placed) {
        const Picture picture = load(p.id);
        EXPECT_EQ(picture.width, p.width) << p.id;
        EXPECT_EQ(picture.height, p.height) << p.id;
    }
    EXPECT_LE(layout::kMeterLeft + kMeterWidth, kWidth);
    EXPECT_LE(kMeterTops[0] + kMeterHeight, kMeterTops[1]);
    EXPECT_LE(kMeterTops[1] + kMeterHeight, kHeight);
    EXPECT_LE(kRmsSwitchLeft + kRmsSwitchWidth, kSliderLeft);
    EXPECT_LE(kReadOutBottom, kSliderTop);
    EXPECT_LE(kSliderTop + kSliderHeight, kHeight);
}

// The 40 numbers (-39 .. 0) are found by their ink, then the letters of dbFS; each
// number's ink is centred under its segment, and the numbers narrow from two digits to
// one to "0".
TEST(CommittedBitmaps, ScaleLabelsEverySegmentUnderItsCentre) {
    const Picture panel = load(128);
    ASSERT_EQ(panel.width, 900);
    const std::vector<std::pair<int, int>> labels = scaleLabels(panel);
    ASSERT_GT(labels.size(), 40u);
    for (int segment = 0; segment < 40; ++segment) {
        const double wanted = kMeterLeft + (boundary(segment) + boundary(segment + 1)) / 2.0;
        const double centre = (labels[segment].first + labels[segment].second + 1) / 2.0;
        EXPECT_LE(std::fabs(centre - wanted), 1.0) << "segment " << segment;
    }
    auto width = [&](int label) { return labels[label].second - labels[label].first + 1; };
    for (int label = 0; label < 30; ++label) {
        EXPECT_GT(width(label), width(30 + label % 9)) << label;
    }
    for (int label = 30; label < 39; ++label) {
        EXPECT_GT(width(label), width(39)) << label;
    }
}

// Each switch's legends stand level with its lamps: ink rows beside the switch, one group
// per position, centred within two rows of the lamp's centre.
TEST(CommittedBitmaps, SwitchLegendsStandLevelWithTheirLamps) {
    const Picture panel = load(128);
    const struct {
        int top, positions, subImage, inkLeft, inkRight;
    } switches[] = {{40, 3, 45, 40, 80}, {122, 3, 45, 40, 80}, {40, 2, 28, 824, 876}};
    for (const auto& s : switches) {
        SCOPED_TRACE(s.top + s.inkLeft);
        const int zone = s.subImage / s.positions;
        for (int position = 0; position < s.positions; ++position) {
            int first = -1, last = -1;
            for (int y = s.top + position * zone; y < s.top + (position + 1) * zone; ++y) {
                for (int x = s.inkLeft; x < s.inkRight; ++x) {
                    if (panel.at(x, y)[0] < 120) {  // dark print on the light panel
                        first = first < 0 ? y : first;
                        last = y;
                    }
                }
            }
            ASSERT_GE(first, 0) << position;
            const double lamp = s.top + zone * position + zone / 2 + 0.5;
            EXPECT_LE(std::fabs((first + last + 1) / 2.0 - lamp), 2.0) << position;
        }
    }
}

// The delay read-out fills and frames its box in panel grey, so the panel around it must
// be that grey for the box not to show.
TEST(CommittedBitmaps, PanelIsGreyAroundTheDelayReadOut) {
    const Picture panel = load(128);
    for (int x = 816; x < 847; ++x) {
        EXPECT_TRUE(panel.is(x, 90, 232, 229, 224)) << x;
        EXPECT_TRUE(panel.is(x, 104, 232, 229, 224)) << x;
    }
    for (int y = 90; y < 105; ++y) {
        EXPECT_TRUE(panel.is(816, y, 232, 229, 224)) << y;
        EXPECT_TRUE(panel.is(846, y, 232, 229, 224)) << y;
    }
}
