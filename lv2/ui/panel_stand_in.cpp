#include "lv2/ui/panel_stand_in.h"

#include "gui/aeff_gui_editor.h"

PanelStandIn::PanelStandIn(audioMasterCallback host, VstInt32 numParams)
    : AudioEffectX(host, 1, numParams), values(static_cast<std::size_t>(numParams), 0.0f) {}

void PanelStandIn::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= numParams) {
        return;
    }
    values[static_cast<std::size_t>(index)] = value;
    if (editor) {
        static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
    }
}

float PanelStandIn::getParameter(VstInt32 index) {
    return index >= 0 && index < numParams ? values[static_cast<std::size_t>(index)] : 0.0f;
}

void PanelStandIn::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    (void)inputs;
    (void)outputs;
    (void)sampleFrames;
}
