#include "gui/native/x11/x11_error_trap.h"

namespace {
// Innermost trap; traps nest when one operation calls another.
CX11ErrorTrap* activeTrap = nullptr;

/// Waits for the server only when it has requests of ours that it has not answered yet.
void settle(Display* display) {
    if (LastKnownRequestProcessed(display) != NextRequest(display) - 1)
        XSync(display, False);
}
}  // namespace

CX11ErrorTrap::CX11ErrorTrap(Display* display) : display_(display), outer_(activeTrap) {
    // Errors of earlier requests belong to whoever made them, not to this trap.
    settle(display_);
    previousHandler_ = XSetErrorHandler(&CX11ErrorTrap::handleError);
    activeTrap = this;
}

CX11ErrorTrap::~CX11ErrorTrap() {
    settle(display_);
    activeTrap = outer_;
    XSetErrorHandler(previousHandler_);
}

bool CX11ErrorTrap::failed() {
    settle(display_);
    return failed_;
}

int CX11ErrorTrap::handleError(Display* display, XErrorEvent* error) {
    for (CX11ErrorTrap* trap = activeTrap; trap; trap = trap->outer_) {
        if (trap->display_ == display) {
            trap->failed_ = true;
            return 0;
        }
    }
    CX11ErrorTrap* outermost = activeTrap;
    while (outermost && outermost->outer_)
        outermost = outermost->outer_;
    return outermost && outermost->previousHandler_ ? outermost->previousHandler_(display, error)
                                                    : 0;
}
