#include "gui/native/x11/x11_error_trap.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace {
// This thread's innermost trap; traps nest when one operation calls another. Xlib calls
// the handler on the thread that reads the failing request's answer, which is the thread
// that made the request: each window's connection is used by one thread at a time.
thread_local CX11ErrorTrap* activeTrap = nullptr;

// Installed once: swapping the process-wide handler in and out per trap would race with
// every other thread that uses Xlib, the host's included. Until the previous handler is
// known (a moment), an error of another connection is let pass.
using ErrorHandler = int (*)(Display*, XErrorEvent*);
std::once_flag handlerInstalled;
std::atomic<ErrorHandler> previousHandler{nullptr};

/// Waits for the server only when it has requests of ours that it has not answered yet.
void settle(Display* display) {
    if (LastKnownRequestProcessed(display) != NextRequest(display) - 1)
        XSync(display, False);
}
}  // namespace

CX11ErrorTrap::CX11ErrorTrap(Display* display) : display(display), outer(activeTrap) {
    std::call_once(handlerInstalled, [] {
        previousHandler.store(XSetErrorHandler(&CX11ErrorTrap::handleError));
        std::atexit(&CX11ErrorTrap::restoreHandler);
    });
    // Errors of earlier requests belong to whoever made them, not to this trap.
    settle(display);
    activeTrap = this;
}

CX11ErrorTrap::~CX11ErrorTrap() {
    settle(display);
    activeTrap = outer;
}

bool CX11ErrorTrap::failed() {
    settle(display);
    return errorSeen;
}

int CX11ErrorTrap::handleError(Display* display, XErrorEvent* error) {
    for (CX11ErrorTrap* trap = activeTrap; trap; trap = trap->outer) {
        if (trap->display == display) {
            trap->errorSeen = true;
            return 0;
        }
    }
    const ErrorHandler previous = previousHandler.load();
    return previous ? previous(display, error) : 0;
}

void CX11ErrorTrap::restoreHandler() {
    // Only while ours is the handler: one installed after it stays.
    const ErrorHandler current = XSetErrorHandler(previousHandler.load());
    if (current != &CX11ErrorTrap::handleError)
        XSetErrorHandler(current);
}
