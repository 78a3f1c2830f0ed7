// GDI drawing through the frame window, read back from the screen, against the pixel rules
// the software surface follows as well (right/bottom exclusive fills, lines without their
// end pixel, colour-keyed copies). Lines are chosen without rounding ties.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/native/host_window.h"
#include "gui/native/native_platform.h"
#include "gui/native/win32/win32_bitmap.h"
#include "gui/native/win32/win32_surface.h"
#include "gui/native/win32/win32_window.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 120;
constexpr CRgbColour kWhite{255, 255, 255, 0};
constexpr CRgbColour kRed{255, 0, 0, 0};
constexpr CRgbColour kGreen{0, 255, 0, 0};
constexpr CRgbColour kBlue{0, 0, 255, 0};
constexpr CRgbColour kYellow{255, 255, 0, 0};
constexpr CRgbColour kBlack{0, 0, 0, 0};

std::uint32_t rgb(CRgbColour colour) {
    return (std::uint32_t(colour.red) << 16) | (std::uint32_t(colour.green) << 8) | colour.blue;
}

/// Nearest integer to numerator / denominator (denominator > 0, no ties).
int roundedQuotient(int numerator, int denominator) {
    const int twice = 2 * numerator + denominator;
    const int divisor = 2 * denominator;
    return twice >= 0 ? twice / divisor : -((-twice + divisor - 1) / divisor);
}

/// The expected picture, drawn by the rules.
class Reference {
  public:
    explicit Reference(CRgbColour background)
        : pixels_(std::size_t(kWidth) * kHeight, rgb(background)) {}

    void fill(CRectangle rect, CRgbColour colour) {
        for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, kHeight); ++y) {
            for (int x = std::max(rect.left, 0); x < std::min(rect.right, kWidth); ++x) {
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
    void set(int x, int y, std::uint32_t value) {
        if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) {
            pixels_[std::size_t(y) * kWidth + x] = value;
        }
    }
    std::uint32_t at(int x, int y) const { return pixels_[std::size_t(y) * kWidth + x]; }

  private:
    std::vector<std::uint32_t> pixels_;
};

void drawLine(CSurface& surface, CPosition from, CPosition to) {
    surface.moveTo(from);
    surface.lineTo(to);
}

/// A small bitmap with white (the key) on a diagonal pattern and colours elsewhere.
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
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
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
        surface.setBrush(kWhite);
        surface.fillRect({0, 0, kWidth, kHeight});
        if (scene) {
            scene(surface);
        }
    }
    void mouseDownInWindow(CSurface&, CPosition) override {}
    void windowDestroyed() override {}

    std::function<void(CSurface&)> scene;
};

class Win32DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = CHostWindow::create(kWidth + 40, kHeight + 40, "win32 drawing test");
        if (!host) {
            GTEST_SKIP() << "no window system";
        }
        platform.frameCreated();
        window = platform.createWindow(host->handle(), kWidth, kHeight, client);
        ASSERT_NE(window, nullptr);
        host->processEvents();
    }
    void TearDown() override {
        if (host) {
            window.reset();
            platform.frameDestroyed();
        }
    }

    /// Paints `scene` through the window's paint request and reads the result back.
    std::vector<std::uint32_t> paint(std::function<void(CSurface&)> scene) {
        client.scene = std::move(scene);
        auto* native = static_cast<CWin32Window*>(window.get());
        RedrawWindow(native->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return shown();
    }
    std::vector<std::uint32_t> shown() {
        std::vector<std::uint32_t> captured;
        int width = 0;
        int height = 0;
        EXPECT_TRUE(host->capture(captured, width, height));
        std::vector<std::uint32_t> inside;
        for (int y = 0; y < kHeight && y < height; ++y) {
            for (int x = 0; x < kWidth && x < width; ++x) {
                inside.push_back(captured[std::size_t(y) * width + x]);
            }
        }
        return inside;
    }
    static void expectSame(const std::vector<std::uint32_t>& actual, const Reference& expected) {
        ASSERT_EQ(actual.size(), std::size_t(kWidth) * kHeight);
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t got = actual[std::size_t(y) * kWidth + x];
                if (got != expected.at(x, y) && ++wrong <= 5) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got
                                  << ", expected " << expected.at(x, y);
                }
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
    const auto shownPixels = paint([](CSurface& surface) {
        surface.setBrush(kRed);
        surface.fillRect({10, 10, 20, 20});
        surface.fillRect({30, 10, 30, 20});  // empty
        surface.setBrush(kGreen);
        surface.fillRect({190, 100, 260, 150});  // beyond the window
        surface.setPen(kBlue, 1, CPenStyle::solid);
        drawLine(surface, {5, 40}, {60, 40});
        drawLine(surface, {60, 50}, {20, 50});
        drawLine(surface, {5, 45}, {5, 80});
        drawLine(surface, {70, 10}, {101, 20});
        drawLine(surface, {101, 30}, {70, 40});
        drawLine(surface, {110, 10}, {117, 41});
        drawLine(surface, {125, 41}, {118, 10});
        drawLine(surface, {130, 10}, {150, 30});
        surface.setPen(kBlack, 1, CPenStyle::solid);
        surface.moveTo({150, 60});
        for (CPosition corner : {CPosition{190, 60}, {190, 100}, {150, 100}, {150, 60}}) {
            surface.lineTo(corner);
        }
    });
    Reference expected(kWhite);
    expected.fill({10, 10, 20, 20}, kRed);
    expected.fill({190, 100, 260, 150}, kGreen);
    expected.line({5, 40}, {60, 40}, kBlue);
    expected.line({60, 50}, {20, 50}, kBlue);
    expected.line({5, 45}, {5, 80}, kBlue);
    expected.line({70, 10}, {101, 20}, kBlue);
    expected.line({101, 30}, {70, 40}, kBlue);
    expected.line({110, 10}, {117, 41}, kBlue);
    expected.line({125, 41}, {118, 10}, kBlue);
    expected.line({130, 10}, {150, 30}, kBlue);
    expected.line({150, 60}, {190, 60}, kBlack);
    expected.line({190, 60}, {190, 100}, kBlack);
    expected.line({190, 100}, {150, 100}, kBlack);
    expected.line({150, 100}, {150, 60}, kBlack);
    expectSame(shownPixels, expected);
}

TEST_F(Win32DrawingTest, BitmapCopiesLeaveOutTheKeyWithAndWithoutTheImageLibrary) {
    ASSERT_NE(CWin32Surface::transparentBlt(), nullptr);
    const auto bitmap = makePatternBitmap(8, 6);
    ASSERT_EQ(bitmap->width(), 8);
    ASSERT_EQ(bitmap->height(), 6);
    const auto scene = [&](CSurface& surface) {
        surface.setBrush(kYellow);
        surface.fillRect({0, 0, 100, 40});
        surface.drawBitmap(*bitmap, {10, 10, 18, 16}, {0, 0});
        surface.drawBitmap(*bitmap, {30, 10, 34, 13}, {2, 1});
        surface.drawBitmapTransparent(*bitmap, {50, 10, 58, 16}, {0, 0}, kWhite);
        surface.drawBitmapTransparent(*bitmap, {70, 10, 75, 14}, {3, 2}, kWhite);
    };
    Reference expected(kWhite);
    expected.fill({0, 0, 100, 40}, kYellow);
    const auto copy = [&](CPosition at, CPosition from, int width, int height, bool keyed) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t value = patternPixel(from.x + x, from.y + y);
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

TEST_F(Win32DrawingTest, OffscreenSurfacesCopyOntoTheWindow) {
    std::unique_ptr<CSurface> offscreen = window->createOffscreen(40, 30);
    ASSERT_NE(offscreen, nullptr);
    offscreen->setBrush(kBlue);
    offscreen->fillRect({0, 0, 40, 30});
    offscreen->setBrush(kRed);
    offscreen->fillRect({5, 5, 15, 10});
    const auto shownPixels = paint([&](CSurface& surface) {
        surface.copyFrom(*offscreen, {100, 60, 140, 90}, {0, 0});
        surface.copyFrom(*offscreen, {150, 60, 160, 70}, {10, 5});
    });
    Reference expected(kWhite);
    expected.fill({100, 60, 140, 90}, kBlue);
    expected.fill({105, 65, 115, 70}, kRed);
    expected.fill({150, 60, 160, 70}, kBlue);
    expected.fill({150, 60, 155, 65}, kRed);
    expectSame(shownPixels, expected);
}

/// Bounds of the pixels that are not white, inside `area`.
CRectangle inkBounds(const std::vector<std::uint32_t>& pixels, const CRectangle& area,
                     std::uint32_t background) {
    CRectangle ink{kWidth, kHeight, -1, -1};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (pixels[std::size_t(y) * kWidth + x] != background) {
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                       std::max(ink.bottom, y + 1)};
            }
        }
    }
    return ink;
}

TEST_F(Win32DrawingTest, TextIsPlacedByAlignmentAndCentredVertically) {
    const CRectangle row{20, 10, 180, 40};
    const CRectangle whole{0, 0, kWidth, kHeight};
    int measured = 0;
    for (CTextAlign align : {CTextAlign::left, CTextAlign::centre, CTextAlign::right}) {
        const auto pixels = paint([&](CSurface& surface) {
            surface.setFont(CFontDescription{"Arial", 14});
            surface.setTextColour(kBlack);
            surface.drawText("Level", row, align, false);
            measured = surface.textWidth("Level");
        });
        const CRectangle ink = inkBounds(pixels, whole, 0xFFFFFF);
        ASSERT_LT(ink.left, ink.right) << "no text drawn";
        EXPECT_GE(ink.left, row.left);
        EXPECT_LE(ink.right, row.right);
        EXPECT_GE(ink.top, row.top);
        EXPECT_LE(ink.bottom, row.bottom);
        EXPECT_NEAR(ink.width(), measured, 4);
        EXPECT_NEAR((ink.top + ink.bottom) / 2, (row.top + row.bottom) / 2, 4);
        if (align == CTextAlign::left) {
            EXPECT_LE(ink.left, row.left + 3);
        } else if (align == CTextAlign::right) {
            EXPECT_GE(ink.right, row.right - 3);
        } else {
            EXPECT_NEAR(ink.left + ink.right, row.left + row.right, 4);
        }
    }
}

TEST_F(Win32DrawingTest, OpaqueTextFillsItsCellAndTextStaysInsideItsRectangle) {
    const CRectangle row{20, 50, 180, 80};
    const CRectangle narrow{20, 90, 40, 110};
    const auto pixels = paint([&](CSurface& surface) {
        surface.setFont(CFontDescription{"Arial", 14});
        surface.setTextColour(kBlack);
        surface.setBackColour(kYellow);
        surface.drawText("Level", row, CTextAlign::left, true);
        surface.drawText("A much longer text", narrow, CTextAlign::left, false);
    });
    const CRectangle cell = inkBounds(pixels, row, 0xFFFFFF);
    EXPECT_EQ(pixels[std::size_t(cell.top) * kWidth + cell.left], 0xFFFF00u);
    EXPECT_LT(cell.right, row.right - 20) << "the cell covers the text, not the rectangle";
    const CRectangle outside = inkBounds(pixels, {40, 85, kWidth, kHeight}, 0xFFFFFF);
    EXPECT_GE(outside.left, outside.right) << "text drawn beyond its rectangle";
}

}  // namespace
