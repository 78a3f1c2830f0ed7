// The frame window inside a host's window, the platform's process-wide set-up, and a
// whole frame with its background and children, as Windows (Wine) shows them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "gui/frame.h"
#include "gui/native/host_window.h"
#include "gui/native/native_platform.h"
#include "gui/native/win32/win32_bitmap.h"
#include "gui/native/win32/win32_platform.h"
#include "gui/native/win32/win32_surface.h"
#include "gui/native/win32/win32_window.h"
#include "gui/resource_bitmap.h"
#include "tests/gui/probe_view.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 120;

class RecordingClient : public CNativeWindowClient {
  public:
    void paintWindow(CSurface&, const CRectangle& damaged) override { paints.push_back(damaged); }
    void mouseDownInWindow(CSurface& surface, CPosition where) override {
        presses.push_back(where);
        surface.setBrush(kColourRed);
        surface.fillRect({0, 0, 10, 10});
    }
    void windowDestroyed() override { destroyed = true; }

    std::vector<CRectangle> paints;
    std::vector<CPosition> presses;
    bool destroyed = false;
};

bool classRegistered(const char* name) {
    WNDCLASSA description;
    return GetClassInfoA(CWin32Platform::module(), name, &description) != 0;
}

class Win32WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = CHostWindow::create(kWidth + 40, kHeight + 40, "win32 window test");
        if (!host) {
            GTEST_SKIP() << "no window system";
        }
    }

    std::unique_ptr<CWin32Window> makeWindow(RecordingClient& client) {
        auto window =
            CWin32Window::create(static_cast<HWND>(host->handle()), kWidth, kHeight, client);
        host->processEvents();
        return window;
    }
    std::uint32_t shown(int x, int y) {
        std::vector<std::uint32_t> pixels;
        int width = 0;
        int height = 0;
        if (!host->capture(pixels, width, height) || x >= width || y >= height) {
            return 0xDEAD;
        }
        return pixels[std::size_t(y) * width + x];
    }

    CNativePlatform& platform = CNativePlatform::system();
    std::unique_ptr<CHostWindow> host;
    RecordingClient client;
};

TEST_F(Win32WindowTest, ChildWindowsShareOneClassRegisteredByTheFirstAndDroppedByTheLast) {
    auto first = makeWindow(client);
    ASSERT_NE(first, nullptr);
    HWND handle = first->handle();
    char expectedName[32];
    std::snprintf(
        expectedName, sizeof expectedName, "Plugin%08x",
        static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(CWin32Platform::module())));
    char text[64] = "";
    GetClassNameA(handle, text, sizeof text);
    EXPECT_STREQ(text, expectedName);
    GetWindowTextA(handle, text, sizeof text);
    EXPECT_STREQ(text, "Window");
    EXPECT_EQ(GetParent(handle), host->handle());
    EXPECT_EQ(GetWindowLongA(handle, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    RECT client{};
    GetClientRect(handle, &client);
    EXPECT_EQ(client.right, kWidth);
    EXPECT_EQ(client.bottom, kHeight);

    RecordingClient secondClient;
    auto second = makeWindow(secondClient);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(CWin32Window::classUseCount(), 2);
    first.reset();
    EXPECT_TRUE(classRegistered(expectedName));
    second.reset();
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
    EXPECT_FALSE(classRegistered(expectedName));
}

TEST_F(Win32WindowTest, PressesAndPaintRequestsReachTheClient) {
    auto window = makeWindow(client);
    ASSERT_NE(window, nullptr);
    HWND handle = window->handle();
    SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    SendMessageA(handle, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(199, 119));
    SendMessageA(handle, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(0, 0));
    SendMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    ASSERT_EQ(client.presses.size(), 3u);
    EXPECT_EQ(client.presses[0].x, 30);
    EXPECT_EQ(client.presses[0].y, 40);
    EXPECT_EQ(client.presses[1].x, 199);
    EXPECT_EQ(client.presses[1].y, 119);
    EXPECT_EQ(shown(5, 5), 0xFF0000u) << "drawing during a press shows";

    while (window->dispatchPendingPaint()) {
    }
    client.paints.clear();
    RECT damaged{10, 20, 30, 40};
    InvalidateRect(handle, &damaged, FALSE);
    EXPECT_TRUE(window->dispatchPendingPaint());
    ASSERT_EQ(client.paints.size(), 1u);
    EXPECT_EQ(client.paints[0].left, 10);
    EXPECT_EQ(client.paints[0].bottom, 40);
    EXPECT_FALSE(window->dispatchPendingPaint());

    CSurface* surface = window->acquireSurface();
    ASSERT_NE(surface, nullptr);
    surface->setBrush(kColourWhite);
    surface->fillRect({100, 100, 110, 110});
    window->releaseSurface(surface);
    EXPECT_EQ(shown(105, 105), 0xFFFFFFu);
}

TEST_F(Win32WindowTest, AWindowTheHostDestroyedIsReportedAndNotUsedAgain) {
    auto window = makeWindow(client);
    ASSERT_NE(window, nullptr);
    host.reset();
    EXPECT_TRUE(client.destroyed);
    EXPECT_EQ(window->handle(), nullptr);
    EXPECT_EQ(window->acquireSurface(), nullptr);
    EXPECT_FALSE(window->setDropActive(true));
    window.reset();
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
}

TEST_F(Win32WindowTest, DropRegistrationIsMadeOnceAndRevoked) {
    platform.frameCreated();
    auto window = makeWindow(client);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->setDropActive(true));
    EXPECT_TRUE(window->setDropActive(true));
    EXPECT_TRUE(window->setDropActive(false));
    EXPECT_EQ(RevokeDragDrop(window->handle()), DRAGDROP_E_NOTREGISTERED);
    window.reset();
    platform.frameDestroyed();
}

TEST_F(Win32WindowTest, CursorTypesSetSystemCursorsAndZeroRestoresTheFirstOne) {
    auto window = makeWindow(client);
    ASSERT_NE(window, nullptr);
    HCURSOR before = GetCursor();
    window->setCursor(1);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    window->setCursor(6);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENWSE));
    window->setCursor(7);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENWSE));
    window->setCursor(0);
    EXPECT_EQ(GetCursor(), before);
}

TEST(Win32Platform, ImageLibraryEntryIsClearedWhenTheLastFrameLetsItGo) {
    CNativePlatform& platform = CNativePlatform::system();
    platform.frameCreated();
    platform.frameCreated();
    EXPECT_NE(CWin32Surface::transparentBlt(), nullptr);
    platform.frameDestroyed();
    EXPECT_NE(CWin32Surface::transparentBlt(), nullptr);
    platform.frameDestroyed();
    EXPECT_EQ(CWin32Surface::transparentBlt(), nullptr);
}

TEST(Win32Platform, BitmapsComeFromTheLibrarysResources) {
    auto panel = CNativePlatform::system().loadBitmap(128);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->width(), 900);
    EXPECT_EQ(panel->height(), 202);
    EXPECT_EQ(CNativePlatform::system().loadBitmap(999), nullptr);
}

/// The colour of one pixel of a bitmap, as the screen shows it.
std::uint32_t bitmapPixel(const CNativeBitmap& bitmap, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, static_cast<const CWin32Bitmap&>(bitmap).handle());
    const COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

TEST(Win32Frame, ShowsItsBackgroundWithTheChildrenOnTop) {
    auto host = CHostWindow::create(920, 222, "win32 frame test");
    if (!host) {
        GTEST_SKIP() << "no window system";
    }
    CEventLog log;
    auto* frame = new CFrame({0, 0, 900, 202}, host->handle(), nullptr);
    auto* background = new CResourceBitmap(128);
    frame->setBackground(background);
    background->release();
    frame->addView(new CProbeView({100, 50, 200, 100}, "red", log, kColourRed));
    frame->addView(new CProbeView({150, 80, 300, 150}, "blue", log, CRgbColour{0, 0, 255, 0}));
    host->processEvents();

    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(host->capture(pixels, width, height));
    const auto at = [&](int x, int y) { return pixels[std::size_t(y) * width + x]; };
    EXPECT_EQ(at(100, 50), 0xFF0000u);
    EXPECT_EQ(at(149, 99), 0xFF0000u);
    EXPECT_EQ(at(150, 80), 0x0000FFu) << "the later child is on top";
    EXPECT_EQ(at(299, 149), 0x0000FFu);
    auto panel = CNativePlatform::system().loadBitmap(128);
    for (CPosition point : {CPosition{0, 0}, {99, 50}, {300, 150}, {899, 201}, {450, 20}}) {
        EXPECT_EQ(at(point.x, point.y), bitmapPixel(*panel, point.x, point.y))
            << point.x << ", " << point.y;
    }
    if (const char* keep = std::getenv("PEVO_KEEP_WINDOW_MS")) {
        Sleep(std::atoi(keep));  // lets a screenshot be taken by hand
    }
    delete frame;
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
}

}  // namespace
