// GDI drawing through the frame window, read back from the screen, against the pixel rules
// the software surface follows as well (right/bottom exclusive fills, lines without their
// end pixel, colour-keyed copies). Lines are chosen without rounding ties.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "gui/native/native_platform.h"
#include "gui/native/win32/win32_bitmap.h"
#include "gui/native/win32/win32_surface.h"
#include "gui/native/win32/win32_window.h"
#include "tools/hostsupport/host_window.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 120;
constexpr CRgbColour kGreen{0, 255, 0, 0};
constexpr CRgbColour kBlue{0, 0, 255, 0};
constexpr CRgbColour kYellow{255, 255, 0, 0};

std::uint32_t rgb(CRgbColour colour) {
    return (std::uint32_t(colour.red) << 16) | (std::uint32_t(colour.green) << 8) | colour.blue;
}

/// Nearest integer to numerator / denominator (denominator > 0, no ties).
int roundedQuotient(int numerator, int denominator) {
    const int twice = 2 * numerator + denominator;
    const int divisor = 2 * denominator;
    return twice >= 0 ? twice / divisor : -((-twice + divisor - 1) / divisor);
}

/// The expected picture, drawn by the rules on white.
struct Reference {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kWidth * kHeight, 0xFFFFFF);

    void set(int x, int y, std::uint32_t value) {
        if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) {
            pixels[std::size_t(y) * kWidth + x] = value;
        }
    }
    void fill(CRectangle rect, CRgbColour colour) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                set(x, y, rgb(colour));
            }
        }
    }
    void line(CPosition from, CPosition to, CRgbColour colour) {
        const int dx = to.x - from.x;
        const int dy = to.y - from.y;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        for (int k = 0; k < steps; ++k) {
            set(from.x + roundedQuotient(k * dx, steps), from.y + roundedQuotient(k * dy, steps),
                rgb(colour));
        }
    }
};

/// White where (x + y) is a multiple of 3 (the key), colours and black elsewhere.
std::uint32_t patternPixel(int x, int y) {
    static const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    return (x + y) % 3 == 0 ? 0xFFFFFF : colours[(x + 2 * y) % 4];
}

std::unique_ptr<CWin32Bitmap> makePatternBitmap(int width, int height) {
    std::vector<std::uint32_t> bits;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bits.push_back(patternPixel(x, y));
        }
    }
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    SetDIBits(screen, bitmap, 0, height, bits.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return std::make_unique<CWin32Bitmap>(bitmap);
}

/// Paints the window white, then runs the scene under test.
class SceneClient : public CNativeWindowClient {
  public:
    void paintWindow(CSurface& surface, const CRectangle&) override {
        surface.setBrush(kColourWhite);
        surface.fillRect({0, 0, kWidth, kHeight});
        scene(surface);
    }
    void mouseDownInWindow(CSurface&, CPosition, std::optional<std::int32_t>) override {}
    void windowDestroyed() override {}

    std::function<void(CSurface&)> scene = [](CSurface&) {};
};

class Win32DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = CHostWindow::create(kWidth, kHeight, "win32 drawing test");
        if (!host) {
            GTEST_SKIP() << "no window system";
        }
        platform.frameCreated();
        window = platform.createWindow(host->handle(), kWidth, kHeight, client);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (host) {
            window.reset();
            platform.frameDestroyed();
        }
    }

    /// Paints `scene` through the window's paint request and reads the screen back.
    std::vector<std::uint32_t> paint(std::function<void(CSurface&)> scene) {
        client.scene = std::move(scene);
        HWND handle = static_cast<CWin32Window*>(window.get())->handle();
        RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        std::vector<std::uint32_t> pixels;
        int width = 0;
        int height = 0;
        EXPECT_TRUE(host->capture(pixels, width, height));
        EXPECT_EQ(width, kWidth);
        EXPECT_EQ(height, kHeight);
        return pixels;
    }
    static void expectSame(const std::vector<std::uint32_t>& shown, const Reference& expected) {
        ASSERT_EQ(shown.size(), expected.pixels.size());
        int wrong = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] != expected.pixels[i] && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << i % kWidth << ", " << i / kWidth << ") is "
                              << std::hex << shown[i] << ", expected " << expected.pixels[i];
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    CNativePlatform& platform = CNativePlatform::system();
    std::unique_ptr<CHostWindow> host;
    SceneClient client;
    std::unique_ptr<CNativeWindow> window;
};

TEST_F(Win32DrawingTest, RectanglesLinesAndFramesFollowTheRules) {
    // Both directions of horizontal, vertical, shallow, steep and diagonal lines, then the
    // four lines of a frame.
    const std::vector<std::pair<CPosition, CPosition>> lines = {
        {{5, 40}, {60, 40}},     {{60, 50}, {20, 50}},     {{5, 45}, {5, 80}},
        {{70, 10}, {101, 20}},   {{101, 30}, {70, 40}},    {{110, 10}, {117, 41}},
        {{125, 41}, {118, 10}},  {{130, 10}, {150, 30}},   {{150, 60}, {190, 60}},
        {{190, 60}, {190, 100}}, {{190, 100}, {150, 100}}, {{150, 100}, {150, 60}}};
    const auto shown = paint([&](CSurface& surface) {
        surface.setBrush(kColourRed);
        surface.fillRect({10, 10, 20, 20});
        surface.fillRect({30, 10, 30, 20});  // empty
        surface.setBrush(kGreen);
        surface.fillRect({190, 100, 260, 150});  // beyond the window
        surface.setPen(kBlue, 1, CPenStyle::solid);
        for (const auto& [from, to] : lines) {
            surface.moveTo(from);
            surface.lineTo(to);
        }
    });
    Reference expected;
    expected.fill({10, 10, 20, 20}, kColourRed);
    expected.fill({190, 100, 260, 150}, kGreen);
    for (const auto& [from, to] : lines) {
        expected.line(from, to, kBlue);
    }
    expectSame(shown, expected);
}

TEST_F(Win32DrawingTest, BitmapAndOffscreenCopiesWithAndWithoutTheImageLibrary) {
    ASSERT_NE(CWin32Surface::transparentBlt(), nullptr);
    const auto bitmap = makePatternBitmap(8, 6);
    ASSERT_EQ(bitmap->width(), 8);
    ASSERT_EQ(bitmap->height(), 6);
    std::unique_ptr<CSurface> offscreen = window->createOffscreen(40, 30);
    ASSERT_NE(offscreen, nullptr);
    offscreen->setBrush(kBlue);
    offscreen->fillRect({0, 0, 40, 30});
    offscreen->setBrush(kColourRed);
    offscreen->fillRect({5, 5, 15, 10});
    const auto scene = [&](CSurface& surface) {
        surface.setBrush(kYellow);
        surface.fillRect({0, 0, 100, 40});
        surface.drawBitmap(*bitmap, {10, 10, 18, 16}, {0, 0});
        surface.drawBitmap(*bitmap, {30, 10, 34, 13}, {2, 1});
        surface.drawBitmapTransparent(*bitmap, {50, 10, 58, 16}, {0, 0}, kColourWhite);
        surface.drawBitmapTransparent(*bitmap, {70, 10, 75, 14}, {3, 2}, kColourWhite);
        // Blocks reaching past the bitmap draw only what lies inside it.
        surface.drawBitmap(*bitmap, {10, 20, 30, 30}, {4, 2});
        surface.drawBitmapTransparent(*bitmap, {80, 10, 95, 25}, {-3, -2}, kColourWhite);
        surface.copyFrom(*offscreen, {100, 60, 140, 90}, {0, 0});
        surface.copyFrom(*offscreen, {150, 60, 160, 70}, {10, 5});
    };
    Reference expected;
    expected.fill({0, 0, 100, 40}, kYellow);
    const auto copy = [&](CPosition at, CPosition from, int width, int height, bool keyed) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int sourceX = from.x + x;
                const int sourceY = from.y + y;
                if (sourceX < 0 || sourceY < 0 || sourceX >= 8 || sourceY >= 6) {
                    continue;
                }
                const std::uint32_t value = patternPixel(sourceX, sourceY);
                if (!keyed || value != 0xFFFFFF) {
                    expected.set(at.x + x, at.y + y, value);
                }
            }
        }
    };
    copy({10, 10}, {0, 0}, 8, 6, false);
    copy({30, 10}, {2, 1}, 4, 3, false);
    copy({50, 10}, {0, 0}, 8, 6, true);
    copy({70, 10}, {3, 2}, 5, 4, true);
    copy({10, 20}, {4, 2}, 20, 10, false);
    copy({80, 10}, {-3, -2}, 15, 15, true);
    expected.fill({100, 60, 140, 90}, kBlue);
    expected.fill({105, 65, 115, 70}, kColourRed);
    expected.fill({150, 60, 160, 70}, kBlue);
    expected.fill({150, 60, 155, 65}, kColourRed);
    {
        SCOPED_TRACE("image library");
        expectSame(paint(scene), expected);
    }
    const TransparentBltFunction library = CWin32Surface::transparentBlt();
    CWin32Surface::setTransparentBlt(nullptr);
    {
        SCOPED_TRACE("monochrome mask");
        expectSame(paint(scene), expected);
    }
    CWin32Surface::setTransparentBlt(library);
}

/// Bounds of the pixels inside `area` that are not white.
CRectangle inkBounds(const std::vector<std::uint32_t>& pixels, const CRectangle& area) {
    CRectangle ink{kWidth, kHeight, -1, -1};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (pixels[std::size_t(y) * kWidth + x] != 0xFFFFFF) {
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                       std::max(ink.bottom, y + 1)};
            }
        }
    }
    return ink;
}

TEST_F(Win32DrawingTest, TextIsPlacedByAlignmentCentredAndClippedToItsRectangle) {
    const CRectangle row{20, 10, 180, 40};
    const CRectangle narrow{20, 60, 40, 80};
    for (CTextAlign align : {CTextAlign::left, CTextAlign::centre, CTextAlign::right}) {
        int measured = 0;
        const auto pixels = paint([&](CSurface& surface) {
            surface.setFont(CFontDescription{"Arial", 14});
            surface.setTextColour(kColourBlack);
            surface.setBackColour(kYellow);
            surface.drawText("Level", row, align, true);
            surface.drawText("A much longer text", narrow, align, false);
            measured = surface.textWidth("Level");
        });
        const CRectangle cell = inkBounds(pixels, {0, 0, kWidth, 50});
        ASSERT_LT(cell.left, cell.right) << "no text drawn";
        EXPECT_EQ(pixels[std::size_t(cell.top) * kWidth + cell.left], 0xFFFF00u) << "opaque";
        EXPECT_TRUE(cell.left >= row.left && cell.right <= row.right);
        EXPECT_TRUE(cell.top >= row.top && cell.bottom <= row.bottom);
        EXPECT_EQ(cell.width(), measured);
        EXPECT_NEAR(cell.top + cell.bottom, row.top + row.bottom, 1);
        if (align == CTextAlign::left) {
            EXPECT_EQ(cell.left, row.left);
        } else if (align == CTextAlign::right) {
            EXPECT_EQ(cell.right, row.right);
        } else {
            EXPECT_NEAR(cell.left + cell.right, row.left + row.right, 1);
        }
        const CRectangle outside = inkBounds(pixels, {40, 50, kWidth, kHeight});
        EXPECT_GE(outside.left, outside.right) << "text drawn beyond its rectangle";
    }
}

}  // namespace
