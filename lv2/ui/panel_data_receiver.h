// The UI's side of the panel data: asks the plug-in for all of it through the host's write
// function (an atom to the plug-in's control sequence), and hands each piece that comes back
// as a port event to the stand-in, whose product reads it. A piece the stand-in cannot take
// in order (one was lost on the way) has everything asked for again, once until a piece is
// taken.
#pragma once

#include <lv2/ui/ui.h>

#include <cstdint>

#include "lv2/panel_data_urids.h"

class PanelStandIn;
class PortLayout;

class PanelDataReceiver {
  public:
    /// Asks for nothing and takes nothing when the host maps no URIs.
    PanelDataReceiver(const LV2_Feature* const* features, const PortLayout& layout,
                      LV2UI_Write_Function write, LV2UI_Controller controller);

    /// Asks the plug-in to send everything from the start.
    void request();
    /// A port event: a piece of panel data goes to `standIn`. False for any other event.
    bool take(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer,
              PanelStandIn& standIn);

  private:
    PanelDataUrids urids;
    bool mapped;
    std::uint32_t requestPort;
    std::uint32_t dataPort;
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    /// Whether a request went out and no piece has been taken since.
    bool waiting = false;
};
