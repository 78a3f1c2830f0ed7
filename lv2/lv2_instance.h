// One LV2 instance of a product: its hosted effect, the buffers the host connects, and the
// settings last handed to the effect, and the host's transport. `run` hands the effect the
// settings that changed, processes the block in pieces that end where the transport's
// positions arrive, writes the readings to their output ports and, once a UI has asked, the
// panel's data to its sequence; it never allocates, locks or calls the system.
#pragma once

#include <cstdint>
#include <vector>

#include <lv2/core/lv2.h>

#include "lv2/hosted_effect.h"
#include "lv2/panel_data_sender.h"
#include "lv2/port_layout.h"
#include "lv2/transport_reader.h"

struct Product;

class Lv2Instance {
  public:
    /// `features` as the host offers them; urid:map among them lets the transport be read.
    Lv2Instance(const Product& product, double sampleRate, const LV2_Feature* const* features);

    bool valid() const { return effect.valid(); }
    void connect(std::uint32_t port, void* data);
    void activate() { effect.switchOn(true); }
    void deactivate() { effect.switchOn(false); }
    void run(std::uint32_t frames);

  private:
    /// The settings whose ports changed since the last block.
    void applySettings();
    /// `frames` frames of the block from `offset` on, with the transport as last told.
    void process(std::uint32_t offset, std::uint32_t frames);
    void publishReadings();

    PortLayout layout;
    HostedEffect effect;
    TransportReader transport;
    float* audio[PortLayout::kChannels * 2] = {};
    const LV2_Atom_Sequence* transportEvents = nullptr;
    /// Each control port's buffer, in the layout's order.
    std::vector<float*> controls;
    /// The port value each setting last handed to the effect; not a number before the first.
    std::vector<float> applied;
    PanelDataSender panelData;
};
