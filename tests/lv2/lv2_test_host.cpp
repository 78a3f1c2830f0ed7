#include "tests/lv2/lv2_test_host.h"

#include <lv2/atom/util.h>
#include <lv2/core/lv2.h>
#include <lv2/time/time.h>

#include <stdexcept>

namespace {

constexpr std::size_t kSequenceBytes = 4096;

}  // namespace

Lv2Bundle& Lv2Bundle::get() {
    static Lv2Bundle bundle;
    return bundle;
}

Lv2Bundle::Lv2Bundle() : lilv(lilv_world_new()) {
    LilvNode* bundle = lilv_new_file_uri(lilv, nullptr, PEVO_LV2_BUNDLE "/");
    lilv_world_load_specifications(lilv);
    lilv_world_load_bundle(lilv, bundle);
    lilv_node_free(bundle);
}

const LilvPlugin* Lv2Bundle::plugin(const std::string& uri) const {
    LilvNode* node = lilv_new_uri(lilv, uri.c_str());
    const LilvPlugin* found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(lilv), node);
    lilv_node_free(node);
    return found;
}

LV2_URID Lv2Bundle::map(const char* uri) {
    auto [entry, added] = uris.emplace(uri, static_cast<LV2_URID>(uris.size() + 1));
    (void)added;
    return entry->second;
}

LV2_URID Lv2Bundle::mapUri(LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<Lv2Bundle*>(handle)->map(uri);
}

Lv2TestInstance::Lv2TestInstance(const std::string& uri, double sampleRate)
    : plugin(Lv2Bundle::get().plugin(uri)),
      sequence(kSequenceBytes / 8),
      position(Lv2Bundle::get().map(LV2_TIME__Position)),
      speedKey(Lv2Bundle::get().map(LV2_TIME__speed)),
      frameKey(Lv2Bundle::get().map(LV2_TIME__frame)),
      panelSequence((sizeof(LV2_Atom) + kPanelDataRoom) / 8) {
    lv2_atom_forge_init(&forge, Lv2Bundle::get().urid());
    if (!plugin) {
        return;
    }
    instance = lilv_plugin_instantiate(plugin, sampleRate, Lv2Bundle::get().features());
    if (!instance) {
        return;
    }
    LilvWorld* world = Lv2Bundle::get().world();
    LilvNode* audioClass = lilv_new_uri(world, LV2_CORE__AudioPort);
    LilvNode* controlClass = lilv_new_uri(world, LV2_CORE__ControlPort);
    LilvNode* inputClass = lilv_new_uri(world, LV2_CORE__InputPort);
    const std::uint32_t count = lilv_plugin_get_num_ports(plugin);
    controls.assign(count, 0.0f);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, controls.data());
    std::uint32_t audio = 0;
    for (std::uint32_t index = 0; index < count; ++index) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
        ports[lilv_node_as_string(lilv_port_get_symbol(plugin, port))] = index;
        if (lilv_port_is_a(plugin, port, audioClass)) {
            audioPorts[audio++] = index;  // inputs come first
        } else if (lilv_port_is_a(plugin, port, controlClass)) {
            lilv_instance_connect_port(instance, index, &controls[index]);
        } else if (lilv_port_is_a(plugin, port, inputClass)) {
            transportPort = index;
            lilv_instance_connect_port(instance, index, sequence.data());
        } else {
            lilv_instance_connect_port(instance, index, panelSequence.data());
        }
    }
    lilv_node_free(audioClass);
    lilv_node_free(controlClass);
    lilv_node_free(inputClass);
    sendPosition(0.0, -1);  // an empty sequence
    lilv_instance_activate(instance);
}

Lv2TestInstance::~Lv2TestInstance() {
    if (instance) {
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
    }
}

float& Lv2TestInstance::control(const std::string& symbol) {
    const auto port = ports.find(symbol);
    if (port == ports.end()) {
        throw std::out_of_range("no port " + symbol);
    }
    return controls[port->second];
}

void Lv2TestInstance::run(float* const* inputs, float* const* outputs, std::uint32_t frames) {
    for (int channel = 0; channel < 2; ++channel) {
        lilv_instance_connect_port(instance, audioPorts[channel], inputs[channel]);
        lilv_instance_connect_port(instance, audioPorts[channel + 2], outputs[channel]);
    }
    // The room goes in the output sequence's size, as hosts give it.
    auto* panel = reinterpret_cast<LV2_Atom_Sequence*>(panelSequence.data());
    panel->atom = {kPanelDataRoom, Lv2Bundle::get().map(LV2_ATOM__Sequence)};
    lilv_instance_run(instance, frames);
    sendPosition(0.0, -1);
    panelEvents.clear();
    LV2_ATOM_SEQUENCE_FOREACH(panel, event) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&event->body);
        panelEvents.emplace_back(bytes, bytes + sizeof(LV2_Atom) + event->body.size);
    }
}

void Lv2TestInstance::sendAtom(const LV2_Atom* atom) {
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<std::uint8_t*>(sequence.data()),
                              kSequenceBytes);
    LV2_Atom_Forge_Frame sequenceFrame;
    lv2_atom_forge_sequence_head(&forge, &sequenceFrame, 0);
    lv2_atom_forge_frame_time(&forge, 0);
    lv2_atom_forge_write(&forge, atom, sizeof(LV2_Atom) + atom->size);
    lv2_atom_forge_pop(&forge, &sequenceFrame);
}

void Lv2TestInstance::sendPosition(double speed, std::int64_t frame) {
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<std::uint8_t*>(sequence.data()),
                              kSequenceBytes);
    LV2_Atom_Forge_Frame sequenceFrame;
    lv2_atom_forge_sequence_head(&forge, &sequenceFrame, 0);
    if (frame >= 0) {
        LV2_Atom_Forge_Frame objectFrame;
        lv2_atom_forge_frame_time(&forge, 0);
        lv2_atom_forge_object(&forge, &objectFrame, 0, position);
        lv2_atom_forge_key(&forge, speedKey);
        lv2_atom_forge_float(&forge, static_cast<float>(speed));
        lv2_atom_forge_key(&forge, frameKey);
        lv2_atom_forge_long(&forge, frame);
        lv2_atom_forge_pop(&forge, &objectFrame);
    }
    lv2_atom_forge_pop(&forge, &sequenceFrame);
}
