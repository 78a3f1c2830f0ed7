// Hosts run several editors, some on threads of their own: two editors' windows are
// created, painted, pressed and destroyed on two threads at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>

#include "gui/native/x11/x11_platform.h"
#include "gui/native/x11/x11_window.h"
#include "gui/resource_bitmap.h"
#include "tests/gui/probe_view.h"
#include "tests/gui/test_editor.h"
#include "tools/hostsupport/host_window.h"

namespace {

constexpr int kRounds = 15;

/// Sends a Ctrl-press of the left button at (x, y) to `window` and waits until the server
/// has queued it for the window's owner.
void sendPress(Display* display, Window window, int x, int y) {
    XEvent event{};
    event.xbutton.type = ButtonPress;
    event.xbutton.window = window;
    event.xbutton.root = DefaultRootWindow(display);
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.state = ControlMask;
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    XSendEvent(display, window, False, ButtonPressMask, &event);
    XSync(display, False);
}

/// Opens, paints, presses and closes an editor in `host` `kRounds` times; answers the
/// rounds in which the panel showed and the press reached the view with its state.
int runEditors(CHostWindow* host, Display* sender) {
    int good = 0;
    for (int round = 0; round < kRounds; ++round) {
        CEventLog log;
        CTestEffect effect;  // owns and deletes the editor
        auto* editor = new CTestEditor(&effect, 200, 100);
        editor->open(host->handle());
        CFrame* frame = editor->getFrame();
        auto* panel = new CResourceBitmap(128);
        frame->setBackground(panel);
        panel->release();
        auto* view = new CProbeView({20, 10, 60, 50}, "view", log);
        view->mouseReads = 2;
        view->onPress = [&](CDrawContext* context) {
            context->drawTextInRect("150", {20, 10, 60, 50});
            editor->runHostIdle();
        };
        frame->addView(view);
        editor->idle();
        const bool painted = !frame->isFirstDrawPending();
        sendPress(sender, static_cast<CX11Window*>(frame->getOpenWindow())->id(), 30, 20);
        editor->idle();
        const bool pressed =
            !view->mouseStates.empty() && view->mouseStates.front() == (kMouseLeft | kKeyControl);
        editor->close();
        good += painted && pressed && effect.hostIdles() == 1;
    }
    return good;
}

TEST(X11Threads, TwoEditorsOnTwoThreadsOpenPaintPressAndCloseAtOnce) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no DISPLAY";
    Display* senders[2] = {CX11Platform::openDisplay(), CX11Platform::openDisplay()};
    if (!senders[0] || !senders[1])
        GTEST_SKIP() << "no X server at DISPLAY";
    // Side by side: a window that covers another one keeps its paint requests back.
    std::unique_ptr<CHostWindow> hosts[2];
    for (int i = 0; i < 2; ++i) {
        hosts[i] = CHostWindow::create(240, 120, "x11 threads test");
        ASSERT_NE(hosts[i], nullptr);
        const auto id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(hosts[i]->handle()));
        XMoveWindow(senders[i], id, 40 + 300 * i, 30);
        XSync(senders[i], False);
    }
    int results[2] = {0, 0};
    std::thread other([&] { results[1] = runEditors(hosts[1].get(), senders[1]); });
    results[0] = runEditors(hosts[0].get(), senders[0]);
    other.join();
    XCloseDisplay(senders[0]);
    XCloseDisplay(senders[1]);
    EXPECT_EQ(results[0], kRounds);
    EXPECT_EQ(results[1], kRounds);
}

}  // namespace
