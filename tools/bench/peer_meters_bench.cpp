// Cost per stereo frame of the plug-ins' process at 48 kHz, in blocks of 64 and 512 frames:
// the loudness meter and Pevo as hosts load them (their VST 2 libraries, through the entry
// point), from Pevo.clap (through `clap_entry`) and as LV2 plug-ins from the build's bundle,
// beside x42's EBU R128 meter, an LV2 plug-in; every LV2 plug-in is loaded through lilv in
// the same run.
// All take the same noise at about -20 dBFS.
#include <benchmark/benchmark.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "clap/clap_abi.h"
#include "lv2/lv2_products.h"
#include "plugin/product.h"
#include "tools/hostsupport/plugin_library.h"

namespace {

constexpr double kSampleRate = 48000.0;
constexpr std::size_t kSignalFrames = 1 << 16;  // cycled through, so blocks see varied data
constexpr const char* kX42Meter = "http://gareus.org/oss/lv2/meters#EBUr128";
/// x42's stereo true-peak meter: the true peak that its EBU R128 meter computes only when
/// its own panel asks.
constexpr const char* kX42TruePeak = "http://gareus.org/oss/lv2/meters#dBTPstereo";

struct Noise {
    Noise() : left(kSignalFrames), right(kSignalFrames) {
        std::mt19937 random(42);
        std::normal_distribution<float> noise(0.0f, 0.1f);
        for (std::size_t i = 0; i < kSignalFrames; ++i) {
            left[i] = noise(random);
            right[i] = noise(random);
        }
    }
    std::vector<float> left, right;
};

const Noise& noise() {
    static const Noise signal;
    return signal;
}

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    return opcode == audioMasterGetSampleRate ? static_cast<VstIntPtr>(kSampleRate) : 0;
}

/// Arguments: block length in frames. `path` is the plug-in library.
void runVstPlugin(benchmark::State& state, const char* path) {
    std::string error;
    const std::unique_ptr<PluginLibrary> library = PluginLibrary::open(path, &error);
    VstPluginMainProc entry = library ? library->entry("VSTPluginMain") : nullptr;
    AEffect* effect = entry ? entry(benchHost) : nullptr;
    if (!effect) {
        state.SkipWithError((std::string(path) + ": " + error).c_str());
        return;
    }
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    const auto block = static_cast<std::size_t>(state.range(0));
    std::vector<float> outLeft(block), outRight(block);
    float* outputs[] = {outLeft.data(), outRight.data()};
    std::size_t at = 0;
    for (auto _ : state) {
        float* inputs[] = {const_cast<float*>(noise().left.data()) + at,
                           const_cast<float*>(noise().right.data()) + at};
        effect->processReplacing(effect, inputs, outputs, static_cast<VstInt32>(block));
        at = at + 2 * block > kSignalFrames ? 0 : at + block;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

void BM_PevoLoudness(benchmark::State& state) {
    runVstPlugin(state, PEVO_LOUDNESS_LIBRARY);
}
BENCHMARK(BM_PevoLoudness)->Arg(64)->Arg(512);

void BM_Pevo(benchmark::State& state) {
    runVstPlugin(state, PEVO_LIBRARY);
}
BENCHMARK(BM_Pevo)->Arg(64)->Arg(512);

const void* CLAP_ABI noHostExtension(const ClapHost*, const char*) {
    return nullptr;
}
void CLAP_ABI noRequest(const ClapHost*) {}
std::uint32_t CLAP_ABI noEvents(const ClapInputEvents*) {
    return 0;
}
const ClapEventHeader* CLAP_ABI noEvent(const ClapInputEvents*, std::uint32_t) {
    return nullptr;
}
bool CLAP_ABI refuseEvent(const ClapOutputEvents*, const ClapEventHeader*) {
    return false;
}

/// Arguments: block length in frames. `id` is the plug-in in Pevo.clap.
void runClapPlugin(benchmark::State& state, const char* id) {
    std::string error;
    const std::unique_ptr<PluginLibrary> library = PluginLibrary::open(PEVO_CLAP_LIBRARY, &error);
    const auto* entry =
        library ? static_cast<const ClapPluginEntry*>(library->data("clap_entry")) : nullptr;
    const auto* factory =
        entry && entry->init(PEVO_CLAP_LIBRARY)
            ? static_cast<const ClapPluginFactory*>(entry->getFactory(CLAP_PLUGIN_FACTORY_ID))
            : nullptr;
    const ClapHost host = {CLAP_VERSION, nullptr,  "pevo-peer-meters-bench", "",
                           "",           "1",      noHostExtension,          noRequest,
                           noRequest,    noRequest};
    const ClapPlugin* plugin = factory ? factory->createPlugin(factory, &host, id) : nullptr;
    const auto block = static_cast<std::uint32_t>(state.range(0));
    if (!plugin || !plugin->init(plugin) || !plugin->activate(plugin, kSampleRate, 1, block) ||
        !plugin->startProcessing(plugin)) {
        state.SkipWithError((std::string(id) + ": " + error).c_str());
        return;
    }
    std::vector<float> outLeft(block), outRight(block);
    float* outputs[] = {outLeft.data(), outRight.data()};
    float* inputs[2] = {};
    const ClapAudioBuffer in = {inputs, nullptr, 2, 0, 0};
    ClapAudioBuffer out = {outputs, nullptr, 2, 0, 0};
    const ClapInputEvents none = {nullptr, noEvents, noEvent};
    const ClapOutputEvents refused = {nullptr, refuseEvent};
    const ClapProcess call = {-1, block, nullptr, &in, &out, 1, 1, &none, &refused};
    std::size_t at = 0;
    for (auto _ : state) {
        inputs[0] = const_cast<float*>(noise().left.data()) + at;
        inputs[1] = const_cast<float*>(noise().right.data()) + at;
        plugin->process(plugin, &call);
        at = at + 2 * block > kSignalFrames ? 0 : at + block;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    plugin->stopProcessing(plugin);
    plugin->deactivate(plugin);
    plugin->destroy(plugin);
    entry->deinit();
}

void BM_PevoLoudnessClap(benchmark::State& state) {
    runClapPlugin(state, "org.quellmark.pevo.loudness");
}
BENCHMARK(BM_PevoLoudnessClap)->Arg(64)->Arg(512);

void BM_PevoClap(benchmark::State& state) {
    runClapPlugin(state, "org.quellmark.pevo.level");
}
BENCHMARK(BM_PevoClap)->Arg(64)->Arg(512);

/// The URIs the LV2 plug-in asks to map, numbered from 1.
struct UriMap {
    static LV2_URID map(LV2_URID_Map_Handle handle, const char* uri) {
        auto& uris = static_cast<UriMap*>(handle)->uris;
        for (std::size_t i = 0; i < uris.size(); ++i) {
            if (uris[i] == uri) {
                return static_cast<LV2_URID>(i + 1);
            }
        }
        uris.emplace_back(uri);
        return static_cast<LV2_URID>(uris.size());
    }
    std::vector<std::string> uris;
};

/// An atom sequence port's buffer: an empty input, or an output of some capacity.
struct AtomBuffer {
    void makeEmpty(LV2_URID sequence) {
        std::memset(bytes, 0, sizeof bytes);
        auto* atom = reinterpret_cast<LV2_Atom_Sequence*>(bytes);
        atom->atom.type = sequence;
        atom->atom.size = sizeof(LV2_Atom_Sequence_Body);
    }
    void makeRoom(LV2_URID chunk) {
        auto* atom = reinterpret_cast<LV2_Atom*>(bytes);
        atom->type = chunk;
        atom->size = sizeof bytes - sizeof(LV2_Atom);
    }
    alignas(8) unsigned char bytes[8192];
};

/// Buffers for every port of an LV2 plug-in: noise into its audio inputs, room in its audio
/// and atom outputs, an empty sequence into its atom inputs, the default into each control.
struct Lv2Ports {
    Lv2Ports(const LilvPlugin* plugin, LilvWorld* world, UriMap& uris, std::size_t block)
        : atoms(lilv_plugin_get_num_ports(plugin)),
          controls(lilv_plugin_get_num_ports(plugin)),
          audioOut(lilv_plugin_get_num_ports(plugin), std::vector<float>(block)) {
        lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, controls.data());
        LilvNode* audio = lilv_new_uri(world, LV2_CORE__AudioPort);
        LilvNode* atom = lilv_new_uri(world, LV2_ATOM__AtomPort);
        LilvNode* input = lilv_new_uri(world, LV2_CORE__InputPort);
        for (std::uint32_t i = 0; i < controls.size(); ++i) {
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
            const bool in = lilv_port_is_a(plugin, port, input);
            if (lilv_port_is_a(plugin, port, audio)) {
                (in ? audioInputs : audioOutputs).push_back(i);
            } else if (lilv_port_is_a(plugin, port, atom)) {
                (in ? atomInputs : atomOutputs).push_back(i);
                atoms[i].makeEmpty(UriMap::map(&uris, LV2_ATOM__Sequence));
            }
        }
        chunk = UriMap::map(&uris, LV2_ATOM__Chunk);
        for (LilvNode* node : {audio, atom, input}) {
            lilv_node_free(node);
        }
    }
    void connect(LilvInstance* instance) {
        for (std::uint32_t i = 0; i < controls.size(); ++i) {
            lilv_instance_connect_port(instance, i, &controls[i]);
        }
        for (std::uint32_t i : atomInputs) {
            lilv_instance_connect_port(instance, i, atoms[i].bytes);
        }
        for (std::uint32_t i : atomOutputs) {
            lilv_instance_connect_port(instance, i, atoms[i].bytes);
        }
        for (std::uint32_t i : audioOutputs) {
            lilv_instance_connect_port(instance, i, audioOut[i].data());
        }
    }
    /// Before each block: the inputs from frame `at` of the noise, room in the outputs.
    void next(LilvInstance* instance, std::size_t at) {
        for (std::size_t c = 0; c < audioInputs.size(); ++c) {
            const std::vector<float>& channel = c % 2 ? noise().right : noise().left;
            lilv_instance_connect_port(instance, audioInputs[c],
                                       const_cast<float*>(channel.data()) + at);
        }
        for (std::uint32_t i : atomOutputs) {
            atoms[i].makeRoom(chunk);
        }
    }

    std::vector<AtomBuffer> atoms;
    std::vector<float> controls;
    std::vector<std::vector<float>> audioOut;
    std::vector<std::uint32_t> audioInputs, audioOutputs, atomInputs, atomOutputs;
    LV2_URID chunk = 0;
};

/// Arguments: block length in frames. `uri` names the plug-in among those installed and
/// the build's bundle.
void runLv2Plugin(benchmark::State& state, const char* uri) {
    LilvWorld* world = lilv_world_new();
    lilv_world_load_all(world);
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, PEVO_LV2_BUNDLE "/");
    lilv_world_load_bundle(world, bundle);
    LilvNode* name = lilv_new_uri(world, uri);
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), name);
    UriMap uris;
    LV2_URID_Map map{&uris, &UriMap::map};
    const LV2_Feature mapFeature{LV2_URID__map, &map};
    const LV2_Feature* features[] = {&mapFeature, nullptr};
    LilvInstance* meter = plugin ? lilv_plugin_instantiate(plugin, kSampleRate, features) : nullptr;
    if (!meter) {
        state.SkipWithError((std::string(uri) + " cannot be loaded").c_str());
    } else {
        const auto block = static_cast<std::size_t>(state.range(0));
        Lv2Ports ports(plugin, world, uris, block);
        ports.connect(meter);
        lilv_instance_activate(meter);
        std::size_t at = 0;
        for (auto _ : state) {
            ports.next(meter, at);
            lilv_instance_run(meter, static_cast<uint32_t>(block));
            at = at + 2 * block > kSignalFrames ? 0 : at + block;
        }
        state.SetItemsProcessed(state.iterations() * state.range(0));
        lilv_instance_deactivate(meter);
        lilv_instance_free(meter);
        if (std::getenv("PEVO_BENCH_URIS")) {
            for (const std::string& mapped : uris.uris) {
                std::fprintf(stderr, "%s\n", mapped.c_str());
            }
        }
    }
    lilv_node_free(name);
    lilv_node_free(bundle);
    lilv_world_free(world);
}

/// x42's EBU R128 meter (Debian x42-plugins).
void BM_X42EbuR128(benchmark::State& state) {
    runLv2Plugin(state, kX42Meter);
}
BENCHMARK(BM_X42EbuR128)->Arg(64)->Arg(512);

void BM_X42TruePeak(benchmark::State& state) {
    runLv2Plugin(state, kX42TruePeak);
}
BENCHMARK(BM_X42TruePeak)->Arg(64)->Arg(512);

void BM_PevoLoudnessLv2(benchmark::State& state) {
    runLv2Plugin(state, lv2Product(1)->identity.lv2Uri);
}
BENCHMARK(BM_PevoLoudnessLv2)->Arg(64)->Arg(512);

void BM_PevoLv2(benchmark::State& state) {
    runLv2Plugin(state, lv2Product(0)->identity.lv2Uri);
}
BENCHMARK(BM_PevoLv2)->Arg(64)->Arg(512);

}  // namespace
