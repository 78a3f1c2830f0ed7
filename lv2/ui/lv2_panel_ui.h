// One LV2 UI: a product's panel, embedded in the host's window (ui:parent), reading a stand-in
// for the effect that the host's port events keep up to date, and handing a user's changes to
// the host's write function inside the host's touch gesture where it offers one. The host's
// idle (ui:idleInterface) serves the window; its size is fixed and told through ui:resize.
#pragma once

#include <lv2/ui/ui.h>

#include <cstdint>
#include <memory>

#include "lv2/port_layout.h"
#include "lv2/ui/panel_data_receiver.h"
#include "lv2/ui/panel_stand_in.h"

class AEffEditor;

class Lv2PanelUi {
  public:
    /// A stand-in for a product's effect, with the product's panel as its editor.
    using MakeStandIn = PanelStandIn* (*)(audioMasterCallback host, const ParameterTable& table);

    /// Opens the panel in the host's parent window; `widget()` is null when it could not.
    Lv2PanelUi(const ParameterTable& parameters, MakeStandIn makeStandIn,
               LV2UI_Write_Function write, LV2UI_Controller controller,
               const LV2_Feature* const* features);
    ~Lv2PanelUi();
    Lv2PanelUi(const Lv2PanelUi&) = delete;
    Lv2PanelUi& operator=(const Lv2PanelUi&) = delete;

    LV2UI_Widget widget() const { return opened ? parent : nullptr; }
    /// A control port's new value (format 0), or a piece of the panel's data; other events
    /// are not for the panel.
    void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                   const void* buffer);
    /// Serves the window: input, then what changed is drawn; the first asks the plug-in for
    /// the panel data. Answers 0: the UI stays.
    int idle();

  private:
    static VstIntPtr answerEffect(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);
    /// Hands the host a setting the user changed, as the port value.
    void write(VstInt32 parameter, float effectValue);
    void touch(VstInt32 parameter, bool grabbed);

    PortLayout layout;
    LV2UI_Write_Function writeFunction;
    LV2UI_Controller controller;
    const LV2UI_Touch* hostTouch = nullptr;
    void* parent = nullptr;
    std::unique_ptr<PanelStandIn> standIn;
    PanelDataReceiver panelData;
    bool askedForPanelData = false;
    AEffEditor* panel = nullptr;  ///< the stand-in's editor, owned by it
    bool opened = false;
};
