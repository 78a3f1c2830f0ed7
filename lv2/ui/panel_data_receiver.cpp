#include "lv2/ui/panel_data_receiver.h"

#include "lv2/port_layout.h"
#include "lv2/ui/panel_stand_in.h"

PanelDataReceiver::PanelDataReceiver(const LV2_Feature* const* features, const PortLayout& layout,
                                     LV2UI_Write_Function write, LV2UI_Controller controller)
    : mapped(urids.map(features)),
      requestPort(layout.transportPort()),
      dataPort(layout.panelDataPort()),
      write(write),
      controller(controller) {}

void PanelDataReceiver::request() {
    if (!mapped) {
        return;
    }
    const LV2_Atom_Object asking{{sizeof(LV2_Atom_Object_Body), urids.object}, {0, urids.request}};
    write(controller, requestPort, sizeof asking, urids.eventTransfer, &asking);
    waiting = true;
}

bool PanelDataReceiver::take(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                             const void* buffer, PanelStandIn& standIn) {
    if (!mapped || port != dataPort || format != urids.eventTransfer || !buffer) {
        return false;
    }
    const LV2_Atom* piece = urids.pieceOf(static_cast<const LV2_Atom*>(buffer), size);
    if (!piece) {
        return true;  // on the panel data port, but not a piece: nothing to take
    }
    if (standIn.takePanelData(LV2_ATOM_BODY_CONST(piece), piece->size)) {
        waiting = false;
    } else if (!waiting) {
        request();
    }
    return true;
}
