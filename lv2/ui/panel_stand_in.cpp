#include "lv2/ui/panel_stand_in.h"

#include "gui/aeff_gui_editor.h"
#include "plugin/product.h"

PanelStandIn::PanelStandIn(audioMasterCallback host, const ParameterTable& table)
    : AudioEffectX(host, 1, table.count),
      table(table),
      values(static_cast<std::size_t>(table.count), 0.0f) {
    for (VstInt32 index = 0; index < table.count; ++index) {
        values[static_cast<std::size_t>(index)] = table.entries[index].defaultValue;
    }
}

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
    return storedValue(index);
}

float PanelStandIn::storedValue(VstInt32 index) const {
    return index >= 0 && index < numParams ? values[static_cast<std::size_t>(index)] : 0.0f;
}

double PanelStandIn::plainValue(VstInt32 index) const {
    const ParameterInfo* info = table.find(index);
    if (!info) {
        return 0.0;
    }
    const float value = storedValue(index);
    return info->plain ? info->plain(value)
                       : info->minimum + value * (info->maximum - info->minimum);
}

bool PanelStandIn::takePanelData(const void* bytes, std::uint32_t size) {
    if (!readPanelData(bytes, size)) {
        return false;
    }
    if (editor) {
        editor->postUpdate();
    }
    return true;
}

bool PanelStandIn::readPanelData(const void*, std::uint32_t) {
    return true;
}

void PanelStandIn::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    (void)inputs;
    (void)outputs;
    (void)sampleFrames;
}
