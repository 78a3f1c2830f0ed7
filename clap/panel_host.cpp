#include "clap/panel_host.h"

#include <cstring>

#include "clap/clap_instance.h"

namespace {

/// How often the panel is repainted, in milliseconds (about 30 times a second).
constexpr std::uint32_t kRepaintPeriodMs = 33;

}  // namespace

const char* PanelHost::windowApi() {
    return PEVO_CLAP_WINDOW_API;  // set by the build for the platform
}

bool PanelHost::supports(const char* api, bool isFloating) {
    return !isFloating && api && std::strcmp(api, windowApi()) == 0;
}

void PanelHost::attach(AEffect* panelEffect, const ClapHost* panelHost,
                       const ClapHostTimerSupport* timerSupport) {
    effect = panelEffect;
    host = panelHost;
    timers = timerSupport;
}

bool PanelHost::create(const char* api, bool isFloating) {
    if (created || !effect || !supports(api, isFloating)) {
        return false;
    }
    created = true;
    if (timers && !timers->registerTimer(host, kRepaintPeriodMs, &timer)) {
        timer = CLAP_INVALID_ID;
        instance.log(CLAP_LOG_WARNING, "no timer for the panel: it will not repaint");
    }
    return true;
}

void PanelHost::destroy() {
    if (!created) {
        return;
    }
    close();
    if (timers && timer != CLAP_INVALID_ID) {
        timers->unregisterTimer(host, timer);
    }
    timer = CLAP_INVALID_ID;
    parent = nullptr;
    created = false;
}

bool PanelHost::size(std::uint32_t& width, std::uint32_t& height) const {
    ERect* rect = nullptr;
    if (!created || !effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f) || !rect) {
        return false;
    }
    width = static_cast<std::uint32_t>(rect->right - rect->left);
    height = static_cast<std::uint32_t>(rect->bottom - rect->top);
    return true;
}

bool PanelHost::setParent(void* window) {
    if (!created || !window) {
        return false;
    }
    close();  // a new parent: the panel moves into it
    parent = window;
    return open();
}

bool PanelHost::show() {
    return created && (isOpen || open());
}

bool PanelHost::hide() {
    if (!created) {
        return false;
    }
    close();
    return true;
}

void PanelHost::tick(ClapId timerId) {
    if (isOpen && timerId == timer) {
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    }
}

bool PanelHost::open() {
    if (!parent) {
        return false;
    }
    isOpen = effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.0f) != 0;
    return isOpen;
}

void PanelHost::close() {
    if (isOpen) {
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
        isOpen = false;
    }
}
