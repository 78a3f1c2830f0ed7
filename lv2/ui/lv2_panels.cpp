#include "lv2/ui/lv2_panels.h"

#include "meter_level/ad_editor.h"
#include "meter_level/level_parameters.h"

namespace {

AEffGUIEditor* levelMeterPanel(AudioEffect* effect) {
    return new ADEditor(effect);
}

}  // namespace

const Lv2Panel* lv2Panel(std::uint32_t index) {
    static const Lv2Panel panels[kLv2PanelCount] = {
        {levelMeterIdentity(), levelMeterParameters(), &levelMeterPanel},
    };
    return index < kLv2PanelCount ? &panels[index] : nullptr;
}
