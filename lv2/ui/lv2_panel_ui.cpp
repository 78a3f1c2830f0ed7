#include "lv2/ui/lv2_panel_ui.h"

#include <cstring>

#include "plugin/aeff_editor.h"
#include "plugin/product.h"

namespace {

/// The VST version the stand-in's host answers.
constexpr VstIntPtr kHostVersion = 2400;

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features) {
        if (std::strcmp((*features)->URI, uri) == 0) {
            return (*features)->data;
        }
    }
    return nullptr;
}

}  // namespace

Lv2PanelUi::Lv2PanelUi(const ParameterTable& parameters, MakeStandIn makeStandIn,
                       LV2UI_Write_Function write, LV2UI_Controller controller,
                       const LV2_Feature* const* features)
    : layout(parameters),
      writeFunction(write),
      controller(controller),
      panelData(features, layout, write, controller) {
    parent = const_cast<void*>(featureData(features, LV2_UI__parent));
    hostTouch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    const auto* resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize));
    standIn.reset(makeStandIn(&Lv2PanelUi::answerEffect, parameters));
    // The host's field of the record leads the stand-in's requests back to this UI.
    standIn->getAeffect()->resvd1 = reinterpret_cast<VstIntPtr>(this);
    panel = standIn->getEditor();
    ERect* size = nullptr;
    if (!parent || !panel || panel->getRect(&size) != 1 || !size) {
        return;
    }
    if (resize) {
        resize->ui_resize(resize->handle, size->right - size->left, size->bottom - size->top);
    }
    opened = panel->open(parent) == 1;
}

Lv2PanelUi::~Lv2PanelUi() {
    if (opened) {
        panel->close();
    }
}

void Lv2PanelUi::portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                           const void* buffer) {
    if (panelData.take(port, size, format, buffer, *standIn)) {
        return;
    }
    const std::uint32_t control = port - PortLayout::kFirstControl;
    if (format != 0 || size != sizeof(float) || port < PortLayout::kFirstControl ||
        control >= layout.controls().size()) {
        return;
    }
    const ControlPort& described = layout.controls()[control];
    standIn->setParameter(described.parameter,
                          described.effectValue(*static_cast<const float*>(buffer)));
}

int Lv2PanelUi::idle() {
    if (!opened) {
        return 0;
    }
    // From the first idle on, when the host is surely ready for writes.
    if (!askedForPanelData) {
        askedForPanelData = true;
        panelData.request();
    }
    panel->idle();
    return 0;
}

void Lv2PanelUi::write(VstInt32 parameter, float effectValue) {
    const ControlPort& port = layout.controls()[static_cast<std::size_t>(parameter)];
    const float value = port.portValue(effectValue);
    writeFunction(controller, PortLayout::kFirstControl + static_cast<std::uint32_t>(parameter),
                  sizeof(float), 0, &value);
}

void Lv2PanelUi::touch(VstInt32 parameter, bool grabbed) {
    if (hostTouch) {
        hostTouch->touch(hostTouch->handle,
                         PortLayout::kFirstControl + static_cast<std::uint32_t>(parameter),
                         grabbed);
    }
}

VstIntPtr Lv2PanelUi::answerEffect(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt) {
    (void)value;
    (void)ptr;
    auto* ui = effect ? reinterpret_cast<Lv2PanelUi*>(effect->resvd1) : nullptr;
    const bool known =
        ui && index >= 0 && static_cast<std::size_t>(index) < ui->layout.controls().size();
    switch (opcode) {
        case audioMasterVersion:
            return kHostVersion;
        case audioMasterAutomate:
            if (known && !ui->layout.controls()[static_cast<std::size_t>(index)].output) {
                ui->write(index, opt);
            }
            return 0;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            if (known) {
                ui->touch(index, opcode == audioMasterBeginEdit);
            }
            return 1;
        default:
            return 0;
    }
}
