#include "tests/fuzz/clap_sessions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "clap/clap_abi.h"
#include "tests/fuzz/fault_log.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/host_block.h"

#if PEVO_HEADLESS
#include "gui/native/soft/headless_platform.h"
#endif

extern "C" const ClapPluginEntry clap_entry;

namespace {

const char* const kIds[] = {"org.quellmark.pevo.level", "org.quellmark.pevo.loudness"};

/// A host that offers nothing: every instance must cope with that.
const ClapHost kHost = {CLAP_VERSION,
                        nullptr,
                        "pevo-fuzz",
                        "",
                        "",
                        "1",
                        [](const ClapHost*, const char*) -> const void* { return nullptr; },
                        [](const ClapHost*) {},
                        [](const ClapHost*) {},
                        [](const ClapHost*) {}};

const ClapPluginFactory* factory() {
    return static_cast<const ClapPluginFactory*>(clap_entry.getFactory(CLAP_PLUGIN_FACTORY_ID));
}

/// Events of any kind a host may send, read from the input; owns their bytes.
class FuzzEvents {
  public:
    FuzzEvents(FuzzInput& in, std::uint32_t frames) {
        const std::uint32_t count = in.below(6);
        std::uint32_t time = 0;
        for (std::uint32_t k = 0; k < count; ++k) {
            ClapEventParamValue event{};
            time += in.below(frames + 1);  // in time order, sometimes past the block's end
            event.header = {sizeof event, time, std::uint16_t(in.below(3) == 0),
                            std::uint16_t(in.below(13)), 0};
            event.paramId = in.oneIn(8) ? in.u32() : in.below(16);
            event.value = in.oneIn(2) ? in.below(4) : in.anyFloat();
            events.push_back(event);
        }
        list = {this,
                [](const ClapInputEvents* l) {
                    return std::uint32_t(static_cast<FuzzEvents*>(l->ctx)->events.size());
                },
                [](const ClapInputEvents* l, std::uint32_t index) -> const ClapEventHeader* {
                    return &static_cast<FuzzEvents*>(l->ctx)->events[index].header;
                }};
    }
    std::vector<ClapEventParamValue> events;
    ClapInputEvents list;
};

const ClapOutputEvents kAnyOutput = {nullptr,
                                     [](const ClapOutputEvents*, const ClapEventHeader* e) {
                                         return e->time == 0;  // the panel's edits go at 0
                                     }};

/// One instance through its record, always in a state CLAP allows the next call in.
class Instance {
  public:
    Instance(FuzzInput& in, FaultLog& faults) : faults(faults) {
        plugin = factory()->createPlugin(factory(), &kHost, kIds[in.below(2)]);
        if (faults.check(plugin && plugin->init(plugin), "no instance for a known id")) {
            params =
                static_cast<const ClapPluginParams*>(plugin->getExtension(plugin, CLAP_EXT_PARAMS));
            state =
                static_cast<const ClapPluginState*>(plugin->getExtension(plugin, CLAP_EXT_STATE));
            gui = static_cast<const ClapPluginGui*>(plugin->getExtension(plugin, CLAP_EXT_GUI));
        }
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    ~Instance() {
        if (!plugin) {
            return;
        }
        if (active) {
            plugin->deactivate(plugin);
        }
        plugin->destroy(plugin);
    }

    void step(FuzzInput& in, void* parentWindow) {
        if (!plugin) {
            return;
        }
        faults.nextCall();
        switch (in.below(8)) {
            case 0:
                lifecycle(in);
                break;
            case 1:
                parameter(in);
                break;
            case 2:
                loadState(in);
                break;
            case 3:
                panel(in, parentWindow);
                break;
            default:
                process(in);
                break;
        }
    }

  private:
    void lifecycle(FuzzInput& in) {
        if (active) {
            plugin->deactivate(plugin);
            active = false;
            return;
        }
        const double rates[] = {48000.0, 44100.0, 8000.0, 384000.0, 1.0, 1e9};
        maxFrames = 1 + in.below(8192);
        active = plugin->activate(plugin, rates[in.below(6)], 1, maxFrames);
        if (active && in.oneIn(3)) {
            plugin->reset(plugin);
        }
    }

    void parameter(FuzzInput& in) {
        const ClapId id = in.oneIn(8) ? in.u32() : in.below(16);
        char text[64];
        std::memset(text, 'x', sizeof text);
        const std::uint32_t capacity = 1 + in.below(sizeof text);
        if (params->valueToText(plugin, id, in.anyFloat(), text, capacity)) {
            faults.check(std::memchr(text, '\0', capacity) != nullptr, "a text past its buffer");
        }
        double value = 0.0;
        const std::string typed = in.text(16);
        params->textToValue(plugin, id, typed.c_str(), &value);
        if (params->getValue(plugin, id, &value)) {
            faults.check(!std::isnan(value), "a parameter's value is no number");
        }
        if (!active) {
            FuzzEvents events(in, 1);
            params->flush(plugin, &events.list, &kAnyOutput);
        }
    }

    void loadState(FuzzInput& in) {
        std::vector<unsigned char> saved;
        const ClapOstream out = {
            &saved, [](const ClapOstream* s, const void* data, std::uint64_t size) -> std::int64_t {
                auto* to = static_cast<std::vector<unsigned char>*>(s->ctx);
                const auto* bytes = static_cast<const unsigned char*>(data);
                to->insert(to->end(), bytes, bytes + size);
                return std::int64_t(size);
            }};
        faults.check(state->save(plugin, &out) && !saved.empty(), "the state was not saved");
        std::vector<unsigned char> bytes = saved;
        for (std::uint32_t k = in.below(4); k > 0 && !bytes.empty(); --k) {
            bytes[in.below(std::uint32_t(bytes.size()))] = in.byte();
        }
        if (in.oneIn(4)) {
            bytes.resize(in.below(std::uint32_t(bytes.size()) + 8));
        }
        struct Reader {
            const std::vector<unsigned char>& bytes;
            std::size_t at;
        } reader{bytes, 0};
        const ClapIstream stream = {
            &reader, [](const ClapIstream* s, void* to, std::uint64_t size) -> std::int64_t {
                auto& r = *static_cast<Reader*>(s->ctx);
                const auto n = static_cast<std::size_t>(
                    std::min<std::uint64_t>({size, std::uint64_t{7},
                                             std::uint64_t{r.bytes.size() - r.at}}));
                std::memcpy(to, r.bytes.data() + r.at, n);
                r.at += n;
                return std::int64_t(n);
            }};
        if (!state->load(plugin, &stream)) {
            std::vector<unsigned char> after;
            const ClapOstream again = {&after, out.write};
            state->save(plugin, &again);
            faults.check(after == saved, "a refused state changed the settings");
        }
    }

    void panel(FuzzInput& in, void* parentWindow) {
        const char* api = nullptr;
        bool floating = false;
        gui->getPreferredApi(plugin, &api, &floating);
        switch (in.below(5)) {
            case 0:
                gui->create(plugin, in.oneIn(4) ? "cocoa" : api, in.oneIn(4));
                break;
            case 1: {
                ClapWindow window{api, {}};
                window.ptr = parentWindow;
                gui->setParent(plugin, &window);
                break;
            }
            case 2:
                gui->show(plugin);
                break;
            case 3:
                gui->hide(plugin);
                break;
            default:
                gui->destroy(plugin);
                break;
        }
    }

    void process(FuzzInput& in) {
        if (!active) {
            return;
        }
        if (!processing) {
            processing = plugin->startProcessing(plugin);
        }
        const std::uint32_t frames = in.below(maxFrames + 1);
        HostBlock block(in, std::int32_t(frames));
        FuzzEvents events(in, frames);
        ClapAudioBuffer input = {block.inputs(), nullptr, 2, 0, 0};
        ClapAudioBuffer output = {block.outputs(), nullptr, 2, 0, 0};
        const ClapProcess call = {-1, frames, nullptr,      &input,     &output,
                                  1,  1,      &events.list, &kAnyOutput};
        const std::int32_t status = plugin->process(plugin, &call);
        const std::string fault = block.check();
        faults.check(fault.empty(), fault);
        faults.check(status == (block.processable() ? CLAP_PROCESS_CONTINUE : CLAP_PROCESS_ERROR) ||
                         frames == 0,
                     "process answered " + std::to_string(status));
        if (in.oneIn(8)) {
            plugin->stopProcessing(plugin);
            processing = false;
        }
    }

    FaultLog& faults;
    const ClapPlugin* plugin = nullptr;
    const ClapPluginParams* params = nullptr;
    const ClapPluginState* state = nullptr;
    const ClapPluginGui* gui = nullptr;
    bool active = false;
    bool processing = false;
    std::uint32_t maxFrames = 1;
};

/// A parent window where the build has the headless platform.
void* parentWindow(FuzzInput& in) {
#if PEVO_HEADLESS
    static CHeadlessPlatform platform;
    static int window = 0;
    CNativePlatform::install(&platform);
    return in.oneIn(4) ? &window : nullptr;
#else
    (void)in;
    return nullptr;
#endif
}

}  // namespace

std::string runClapBoundarySession(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FaultLog faults;
    clap_entry.init("pevo-fuzz");
    {
        Instance instance(in, faults);
        while (!in.empty() && !faults.any()) {
            instance.step(in, parentWindow(in));
        }
    }
    clap_entry.deinit();
    return faults.message();
}

std::string runClapLifecycleSession(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FaultLog faults;
    int inits = 0;
    {
        std::vector<std::unique_ptr<Instance>> instances;
        while (!in.empty() && !faults.any()) {
            const std::uint32_t action = in.below(8);
            if (action == 0 && inits < 3) {
                faults.check(clap_entry.init("pevo-fuzz"), "init failed");
                ++inits;
            } else if (action == 1 && inits > 1) {
                clap_entry.deinit();
                --inits;
            } else if (action == 2 && inits > 0 && instances.size() < 3) {
                instances.push_back(std::make_unique<Instance>(in, faults));
            } else if (action == 3 && !instances.empty()) {
                instances.erase(instances.begin() + in.below(std::uint32_t(instances.size())));
            } else if (!instances.empty()) {
                instances[in.below(std::uint32_t(instances.size()))]->step(in, parentWindow(in));
            }
        }
        if (inits == 0) {
            faults.check(factory() == nullptr, "a factory before init");
        }
    }
    while (inits-- > 0) {
        clap_entry.deinit();
    }
    return faults.message();
}
