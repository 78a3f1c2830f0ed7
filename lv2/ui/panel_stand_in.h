// What a product's panel reads in the LV2 UI in place of its effect, which runs in the
// plug-in library: the values the host's port events brought, by parameter. A user's change
// goes to the host as the effect's changes go to a VST 2 host, through the callback.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/audio_effect_x.h"

struct ParameterTable;

class PanelStandIn : public AudioEffectX {
  public:
    PanelStandIn(audioMasterCallback host, const ParameterTable& table);

    /// Stores the value and shows it on the panel, as the effect's own change would.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    /// The UI has no audio: the plug-in library processes it.
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    /// Parameter `index`'s value from 0 to 1, as getParameter answers it.
    float storedValue(VstInt32 index) const;
    /// Parameter `index`'s value in its own unit, as the table maps it.
    double plainValue(VstInt32 index) const;
    /// A piece of what the effect's panel keeps beyond values (plugin/panel_data.h), read by
    /// the product and then shown; false when it cannot take it in order.
    bool takePanelData(const void* bytes, std::uint32_t size);

  protected:
    /// The product's reader of its panel data; a product without such data takes nothing.
    virtual bool readPanelData(const void* bytes, std::uint32_t size);

  private:
    const ParameterTable& table;
    std::vector<float> values;
};
