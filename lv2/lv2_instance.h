// One LV2 instance of a product: its hosted effect, the buffers the host connects, and the
// settings last handed to the effect. `run` hands the effect the settings that changed,
// processes the block and writes the readings to their output ports; it never allocates,
// locks or calls the system.
#pragma once

#include <cstdint>
#include <vector>

#include <lv2/core/lv2.h>

#include "lv2/hosted_effect.h"
#include "lv2/panel_data_sender.h"
#include "lv2/port_layout.h"

struct Product;

class Lv2Instance {
  public:
    Lv2Instance(const Product& product, double sampleRate, const LV2_Feature* const* features);

    bool valid() const { return effect.valid(); }
    void connect(std::uint32_t port, void* data);
    void activate() { effect.switchOn(true); }
    void deactivate() { effect.switchOn(false); }
    void run(std::uint32_t frames);

  private:
    /// The settings whose ports changed since the last block.
    void applySettings();
    void publishReadings();

    PortLayout layout;
    HostedEffect effect;
    float* audio[PortLayout::kChannels * 2] = {};
    /// Each control port's buffer, in the layout's order.
    std::vector<float*> controls;
    /// The port value each setting last handed to the effect; not a number before the first.
    std::vector<float> applied;
    const LV2_Atom_Sequence* control = nullptr;
    PanelDataSender panelData;
};
