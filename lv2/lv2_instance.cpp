#include "lv2/lv2_instance.h"

#include <lv2/atom/util.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "plugin/product.h"

namespace {

/// The longest block LV2 hosts announce nowhere without the options feature; the effects
/// take any block length, this is only what they are told to expect.
constexpr VstInt32 kExpectedBlock = 4096;

}  // namespace

Lv2Instance::Lv2Instance(const Product& product, double sampleRate,
                         const LV2_Feature* const* features)
    : layout(product.parameters),
      effect(product.create, static_cast<float>(sampleRate), kExpectedBlock),
      transport(features, sampleRate),
      controls(layout.controls().size(), nullptr),
      applied(layout.controls().size(), std::numeric_limits<float>::quiet_NaN()),
      panelData(features) {}

void Lv2Instance::connect(std::uint32_t port, void* data) {
    if (port < PortLayout::kFirstControl) {
        audio[port] = static_cast<float*>(data);
    } else if (port < layout.transportPort()) {
        controls[port - PortLayout::kFirstControl] = static_cast<float*>(data);
    } else if (port == layout.transportPort()) {
        transportEvents = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port == layout.panelDataPort()) {
        panelData.connect(data);
    }
}

void Lv2Instance::run(std::uint32_t frames) {
    applySettings();
    panelData.readRequests(transportEvents);
    std::uint32_t done = 0;
    if (transportEvents) {
        LV2_ATOM_SEQUENCE_FOREACH(transportEvents, event) {
            if (!transport.isPosition(event->body)) {
                continue;
            }
            // Each position holds from its frame on; events out of order hold from here.
            const auto at = static_cast<std::uint32_t>(
                std::clamp<std::int64_t>(event->time.frames, done, frames));
            if (at > done) {
                process(done, at - done);
                done = at;
            }
            transport.read(event->body);
        }
    }
    process(done, frames - done);  // even an empty rest: the effect publishes its readings
    publishReadings();
    panelData.send(effect);
}

void Lv2Instance::process(std::uint32_t offset, std::uint32_t frames) {
    // A buffer the host left out stays null, for the effect to refuse.
    const auto from = [this, offset](std::uint32_t port) {
        return audio[port] ? audio[port] + offset : nullptr;
    };
    constexpr std::uint32_t in = PortLayout::kAudioInputs;
    constexpr std::uint32_t out = PortLayout::kAudioOutputs;
    float* inputs[PortLayout::kChannels] = {from(in), from(in + 1)};
    float* outputs[PortLayout::kChannels] = {from(out), from(out + 1)};
    effect.answerTimeWith(transport.time());
    effect.process(inputs, outputs, frames);
    transport.advance(frames);
}

void Lv2Instance::applySettings() {
    const auto& ports = layout.controls();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (ports[i].output || !controls[i]) {
            continue;
        }
        const float value = *controls[i];
        // Each change once: a host that holds a value, or a trigger it never sets back,
        // does not repeat it.
        if (value != applied[i]) {
            applied[i] = value;
            effect.setParameter(ports[i].parameter, ports[i].effectValue(value));
        }
    }
}

void Lv2Instance::publishReadings() {
    const auto& ports = layout.controls();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (ports[i].output && controls[i]) {
            *controls[i] = ports[i].portValue(effect.getParameter(ports[i].parameter));
        }
    }
}
