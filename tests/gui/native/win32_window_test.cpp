// The frame window inside a host's window, the platform's process-wide set-up, and a
// whole frame with its background and children, as Windows (Wine) shows them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gui/frame.h"
#include "gui/native/win32/win32_bitmap.h"
#include "gui/native/win32/win32_platform.h"
#include "gui/native/win32/win32_surface.h"
#include "gui/native/win32/win32_window.h"
#include "gui/resource_bitmap.h"
#include "tests/gui/native/test_host_window.h"
#include "tests/gui/probe_view.h"
#include "tests/gui/test_editor.h"

namespace {

class RecordingClient : public CNativeWindowClient {
  public:
    void paintWindow(CSurface&, const CRectangle& damaged) override { paints.push_back(damaged); }
    void mouseDownInWindow(CSurface& surface, CPosition where,
                           std::optional<std::int32_t> state) override {
        states.push_back(state.value_or(-1));
        presses.push_back(where);
        surface.setBrush(kColourRed);
        surface.fillRect({0, 0, 10, 10});
    }
    void windowDestroyed() override { destroyed = true; }

    std::vector<CRectangle> paints;
    std::vector<CPosition> presses;
    std::vector<std::int32_t> states;
    bool destroyed = false;
};

bool classRegistered(const char* name) {
    WNDCLASSA description;
    return GetClassInfoA(CWin32Platform::module(), name, &description) != 0;
}

class Win32WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = CHostWindow::create(200, 120, "win32 window test");
        if (!host) {
            GTEST_SKIP() << "no window system";
        }
    }
    std::unique_ptr<CWin32Window> makeWindow(RecordingClient& client) {
        return CWin32Window::create(static_cast<HWND>(host->handle()), 200, 120, client);
    }

    std::unique_ptr<CHostWindow> host;
    RecordingClient client;
};

TEST_F(Win32WindowTest, ChildWindowsShareOneClassRegisteredByTheFirstAndDroppedByTheLast) {
    auto first = makeWindow(client);
    ASSERT_NE(first, nullptr);
    char text[64] = "";
    GetClassNameA(first->handle(), text, sizeof text);
    const std::string expectedName = text;
    // The whole module handle in hex: "Plugin%08x" on 32-bit systems, 16 digits on 64-bit.
    EXPECT_EQ(expectedName.size(), 6 + 2 * sizeof(void*));
    EXPECT_EQ(expectedName.compare(0, 6, "Plugin"), 0);
    EXPECT_EQ(std::strtoull(text + 6, nullptr, 16),
              reinterpret_cast<std::uintptr_t>(CWin32Platform::module()));
    if (sizeof(void*) == 4) {
        char exact[32];
        std::snprintf(exact, sizeof exact, "Plugin%08x",
                      unsigned(reinterpret_cast<std::uintptr_t>(CWin32Platform::module())));
        EXPECT_EQ(expectedName, exact);
    }
    GetWindowTextA(first->handle(), text, sizeof text);
    EXPECT_STREQ(text, "Window");
    EXPECT_EQ(GetParent(first->handle()), host->handle());

    RecordingClient secondClient;
    auto second = makeWindow(secondClient);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(CWin32Window::classUseCount(), 2);
    first.reset();
    EXPECT_TRUE(classRegistered(expectedName.c_str()));
    second.reset();
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
    EXPECT_FALSE(classRegistered(expectedName.c_str()));
}

TEST_F(Win32WindowTest, AClassOfAnotherModuleUnderOurNameIsNeverUsed) {
    // Another module took the name first; its procedure would receive our messages.
    WNDCLASSA foreign{};
    foreign.style = CS_GLOBALCLASS;
    foreign.lpfnWndProc = DefWindowProcA;
    foreign.hInstance = GetModuleHandleA("kernel32.dll");
    foreign.lpszClassName = CWin32Window::className();
    ASSERT_NE(RegisterClassA(&foreign), 0);
    EXPECT_EQ(makeWindow(client), nullptr);
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
    EXPECT_TRUE(classRegistered(CWin32Window::className())) << "left to its owner";
    ASSERT_TRUE(UnregisterClassA(CWin32Window::className(), foreign.hInstance));

    EXPECT_NE(makeWindow(client), nullptr);
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
}

TEST_F(Win32WindowTest, PressesPaintRequestsAndIdleDrawingReachTheWindow) {
    auto window = makeWindow(client);
    ASSERT_NE(window, nullptr);
    HWND handle = window->handle();
    SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(30, 40));
    SendMessageA(handle, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(199, 119));
    SendMessageA(handle, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(0, 0));
    SendMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    ASSERT_EQ(client.presses.size(), 3u);
    EXPECT_EQ(client.presses[0].x, 30);
    EXPECT_EQ(client.presses[0].y, 40);
    EXPECT_EQ(client.presses[1].x, 199);
    EXPECT_EQ(client.presses[1].y, 119);
    EXPECT_EQ(client.states,
              (std::vector<std::int32_t>{kMouseLeft | kKeyControl, kMouseRight, kMouseMiddle}));
    EXPECT_EQ(shownAt(*host, 5, 5), 0xFF0000u) << "drawing during a press shows";

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
    EXPECT_EQ(shownAt(*host, 105, 105), 0xFFFFFFu);
}

TEST_F(Win32WindowTest, AWindowTheHostDestroyedIsReportedAndNotUsedAgain) {
    auto window = makeWindow(client);
    ASSERT_NE(window, nullptr);
    host.reset();
    EXPECT_TRUE(client.destroyed);
    EXPECT_EQ(window->acquireSurface(), nullptr);
    EXPECT_FALSE(window->setDropActive(true));
    window.reset();
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
}

TEST(Win32Window, DeletedOnAnotherThreadItIsDestroyedByItsOwnAndGivesTheClassBack) {
    constexpr DWORD kPatience = 10000;  // milliseconds; only a broken hand-over waits so long
    RecordingClient client;
    std::unique_ptr<CWin32Window> window;
    HWND handle = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE deleted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool stillThere = true;
    bool registered = true;
    int uses = -1;
    std::thread owner([&] {
        auto host = CHostWindow::create(200, 120, "owner thread");
        if (host) {
            window = CWin32Window::create(static_cast<HWND>(host->handle()), 200, 120, client);
            handle = window ? window->handle() : nullptr;
        }
        SetEvent(created);
        if (!handle) {
            return;
        }
        // Serves its messages, as a host's user-interface thread does.
        while (MsgWaitForMultipleObjects(1, &deleted, FALSE, kPatience, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
            host->processEvents();
        }
        host->processEvents();
        stillThere = IsWindow(handle);
        registered = classRegistered(CWin32Window::className());
        uses = CWin32Window::classUseCount();
    });
    WaitForSingleObject(created, kPatience);
    window.reset();
    SetEvent(deleted);
    owner.join();
    CloseHandle(created);
    CloseHandle(deleted);
    if (!handle) {
        GTEST_SKIP() << "no window system";
    }
    EXPECT_FALSE(stillThere);
    EXPECT_EQ(uses, 0);
    EXPECT_FALSE(registered);
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

void sendInput(DWORD mouseFlags, WORD key = 0, DWORD keyFlags = 0) {
    INPUT input{};
    input.type = key ? INPUT_KEYBOARD : INPUT_MOUSE;
    input.mi.dwFlags = mouseFlags;
    if (key) {
        input.ki = {key, 0, keyFlags, 0, 0};
    }
    SendInput(1, &input, sizeof input);
}

TEST(Win32Platform, MouseStateReadsButtonsAndKeysSwappedAsAtClassRegistration) {
    CNativePlatform& platform = CNativePlatform::system();
    sendInput(MOUSEEVENTF_LEFTDOWN);
    sendInput(0, VK_CONTROL);
    EXPECT_EQ(platform.mouseState(), kMouseLeft | kKeyControl);
    sendInput(MOUSEEVENTF_LEFTUP);
    sendInput(0, VK_CONTROL, KEYEVENTF_KEYUP);
    EXPECT_EQ(platform.mouseState(), 0);

    auto host = CHostWindow::create(20, 20, "swapped buttons");
    if (!host) {
        GTEST_SKIP() << "no window system";
    }
    SwapMouseButton(TRUE);
    RecordingClient client;
    auto window = platform.createWindow(host->handle(), 10, 10, client);
    SwapMouseButton(FALSE);
    sendInput(MOUSEEVENTF_RIGHTDOWN);
    EXPECT_EQ(platform.mouseState(), kMouseLeft);
    sendInput(MOUSEEVENTF_RIGHTUP);
}

TEST(Win32Frame, ShowsItsBackgroundBitmapWithTheChildrenOnTop) {
    auto host = CHostWindow::create(900, 202, "win32 frame test");
    if (!host) {
        GTEST_SKIP() << "no window system";
    }
    auto panel = CNativePlatform::system().loadBitmap(128);
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->width(), 900);
    EXPECT_EQ(CNativePlatform::system().loadBitmap(999), nullptr);
    CEventLog log;
    auto* frame = new CFrame({0, 0, 900, 202}, host->handle(), nullptr);
    auto* background = new CResourceBitmap(128);
    frame->setBackground(background);
    background->release();
    frame->addView(new CProbeView({100, 50, 200, 100}, "red", log, kColourRed));
    auto* blue = new CProbeView({150, 80, 300, 150}, "blue", log, CRgbColour{0, 0, 255, 0});
    frame->addView(blue);
    host->processEvents();

    // A press the button has already left: the view's first read still sees it.
    blue->mouseReads = 2;
    HWND window = static_cast<CWin32Window*>(frame->getOpenWindow())->handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(200, 100));
    EXPECT_EQ(blue->mouseStates, (std::vector<std::int32_t>{kMouseLeft | kKeyShift, 0}));

    EXPECT_EQ(shownAt(*host, 100, 50), 0xFF0000u);
    EXPECT_EQ(shownAt(*host, 150, 80), 0x0000FFu) << "the later child is on top";
    EXPECT_EQ(shownAt(*host, 299, 149), 0x0000FFu);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, static_cast<CWin32Bitmap&>(*panel).handle());
    for (CPosition point : {CPosition{0, 0}, {99, 50}, {300, 150}, {899, 201}, {450, 20}}) {
        const COLORREF colour = GetPixel(memory, point.x, point.y);
        EXPECT_EQ(shownAt(*host, point.x, point.y),
                  (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour))
            << point.x << ", " << point.y;
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    delete frame;
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
}

TEST(Win32Editor, TheHostMayCloseTheEditorInTheIdleADragGivesIt) {
    auto host = CHostWindow::create(200, 120, "win32 editor test");
    if (!host) {
        GTEST_SKIP() << "no window system";
    }
    CEventLog log;
    CTestEffect effect;  // owns and deletes the editor
    auto* editor = new CTestEditor(&effect);
    editor->open(host->handle());
    auto* view = new CProbeView({20, 10, 60, 50}, "view", log);
    editor->getFrame()->addView(view);
    HWND window = static_cast<CWin32Window*>(editor->getFrame()->getOpenWindow())->handle();
    effect.onHostIdle = [editor] { editor->close(); };
    view->onPress = [&](CDrawContext*) {
        view->getFrame()->runHostIdle();
        log.push_back(view->getFrame()->isWindowOpen() ? "open" : "closed");
    };
    host->processEvents();
    log.clear();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
    EXPECT_EQ(log, (CEventLog{"press view 40,30", "closed", "delete view"}));
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CWin32Window::classUseCount(), 0);
}

}  // namespace
