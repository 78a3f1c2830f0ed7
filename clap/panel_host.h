// The product's panel shown through the host's GUI extension: the effect's editor opened as
// a child of the host's window, repainted from the host's timer, closed and opened again in
// whatever order a host asks for it.
#pragma once

#include <cstdint>

#include "clap/clap_abi.h"
#include "plugin/vst2.h"

class ClapInstance;

class PanelHost {
  public:
    explicit PanelHost(ClapInstance& instance) : instance(instance) {}

    /// The window system the panels embed in on this platform ("x11" or "win32").
    static const char* windowApi();
    static bool supports(const char* api, bool isFloating);

    /// Set once the effect exists: `effect`'s editor, repainted through `timers` when given.
    void attach(AEffect* panelEffect, const ClapHost* panelHost,
                const ClapHostTimerSupport* timers);
    bool create(const char* api, bool isFloating);
    /// Closes the panel if open and gives its timer back; safe to repeat.
    void destroy();
    /// The panel's fixed size in pixels; false before `create`.
    bool size(std::uint32_t& width, std::uint32_t& height) const;
    /// Opens the panel inside `window` (an X11 window id or an HWND).
    bool setParent(void* window);
    bool show();
    bool hide();
    /// One repaint turn, for the timer the panel registered.
    void tick(ClapId timer);

  private:
    bool open();
    void close();

    ClapInstance& instance;
    AEffect* effect = nullptr;
    const ClapHost* host = nullptr;
    const ClapHostTimerSupport* timers = nullptr;
    void* parent = nullptr;
    ClapId timer = CLAP_INVALID_ID;
    bool created = false;
    bool isOpen = false;
};
