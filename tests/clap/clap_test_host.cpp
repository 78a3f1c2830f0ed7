#include "tests/clap/clap_test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "tools/hostsupport/plugin_library.h"

const ClapPluginEntry* clapEntry() {
    // Loaded and initialised once per test program, kept until it ends. Without PEVO_CLAP
    // the bare file name is tried: Windows looks next to the program first.
    static const std::unique_ptr<PluginLibrary> library = [] {
        const char* path = std::getenv("PEVO_CLAP");
        return PluginLibrary::open(path ? path : "Pevo.clap");
    }();
    static const ClapPluginEntry* entry = [] {
        const auto* found =
            library ? static_cast<const ClapPluginEntry*>(library->data("clap_entry")) : nullptr;
        const char* path = std::getenv("PEVO_CLAP");
        return found && found->init(path ? path : "Pevo.clap") ? found : nullptr;
    }();
    return entry;
}

const ClapPluginFactory* clapFactory() {
    const ClapPluginEntry* entry = clapEntry();
    return entry ? static_cast<const ClapPluginFactory*>(entry->getFactory(CLAP_PLUGIN_FACTORY_ID))
                 : nullptr;
}

ClapTestHost::ClapTestHost() {
    host = {CLAP_VERSION,
            this,
            "pevo-clap-tests",
            "Quellmark",
            "",
            "1.0",
            extension,
            [](const ClapHost*) {},
            [](const ClapHost* h) { ++of(h).flushRequests; },
            [](const ClapHost*) {}};
}

ClapTestHost& ClapTestHost::of(const ClapHost* host) {
    return *static_cast<ClapTestHost*>(host->hostData);
}

std::vector<std::string> ClapTestHost::logged() const {
    const std::lock_guard<std::mutex> lock(logMutex);
    return messages;
}

const void* ClapTestHost::extension(const ClapHost* host, const char* id) {
    static const ClapHostLog log = {[](const ClapHost* h, std::int32_t, const char* message) {
        ClapTestHost& self = of(h);
        const std::lock_guard<std::mutex> lock(self.logMutex);
        self.messages.emplace_back(message);
    }};
    static const ClapHostParams params = {[](const ClapHost* h, std::uint32_t flags) {
                                              if (flags & CLAP_PARAM_RESCAN_VALUES) {
                                                  ++of(h).valueRescans;
                                              }
                                          },
                                          [](const ClapHost*, ClapId, std::uint32_t) {},
                                          [](const ClapHost* h) { ++of(h).flushRequests; }};
    static const ClapHostTimerSupport timers = {
        [](const ClapHost* h, std::uint32_t period, ClapId* id) {
            ClapTestHost& self = of(h);
            *id = self.nextTimer++;
            self.timers.push_back(*id);
            self.timerPeriod = period;
            return true;
        },
        [](const ClapHost* h, ClapId id) {
            auto& held = of(h).timers;
            const auto found = std::find(held.begin(), held.end(), id);
            if (found == held.end()) {
                return false;
            }
            held.erase(found);
            return true;
        }};
    if (!of(host).offersExtensions) {
        return nullptr;
    }
    if (std::strcmp(id, CLAP_EXT_LOG) == 0) {
        return &log;
    }
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) {
        return &params;
    }
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) {
        return &timers;
    }
    return nullptr;
}

EventList::EventList() {
    in = {this,
          [](const ClapInputEvents* list) {
              return static_cast<std::uint32_t>(static_cast<EventList*>(list->ctx)->size());
          },
          [](const ClapInputEvents* list, std::uint32_t index) {
              return &static_cast<EventList*>(list->ctx)->at(index);
          }};
    out = {this, [](const ClapOutputEvents* list, const ClapEventHeader* event) {
               static_cast<EventList*>(list->ctx)->add(*event);
               return true;
           }};
}

void EventList::addValue(std::uint32_t time, ClapId id, double value, std::uint16_t space) {
    ClapEventParamValue event{};
    event.header = {sizeof event, time, space, CLAP_EVENT_PARAM_VALUE, 0};
    event.paramId = id;
    event.noteId = 0;  // as Qtractor sends them
    event.portIndex = 0;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    add(event.header);
}

void EventList::add(const ClapEventHeader& event) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&event);
    events.emplace_back(bytes, bytes + event.size);
}

const ClapEventHeader& EventList::at(std::size_t index) const {
    return *reinterpret_cast<const ClapEventHeader*>(events.at(index).data());
}

std::string EventList::summary() const {
    std::ostringstream words;
    for (std::size_t k = 0; k < events.size(); ++k) {
        const ClapEventHeader& event = at(k);
        words << (k ? " " : "") << event.type << ':';
        if (event.type == CLAP_EVENT_PARAM_VALUE) {
            const auto& change = reinterpret_cast<const ClapEventParamValue&>(event);
            words << change.paramId << '=' << change.value;
        } else {
            words << reinterpret_cast<const ClapEventParamGesture&>(event).paramId;
        }
    }
    return words.str();
}

StereoAudio::StereoAudio(std::uint32_t frames, bool inPlace) : frames(frames) {
    for (int channel = 0; channel < 2; ++channel) {
        input[channel].assign(frames, 0.0f);
        output[channel].assign(frames, -1.0f);
        inputs[channel] = input[channel].data();
        outputs[channel] = inPlace ? inputs[channel] : output[channel].data();
    }
    in = {inputs, nullptr, 2, 0, 0};
    out = {outputs, nullptr, 2, 0, 0};
}

void StereoAudio::fill(const std::vector<float>& left, const std::vector<float>& right) {
    std::copy_n(left.begin(), frames, input[0].begin());
    std::copy_n(right.begin(), frames, input[1].begin());
}

const std::vector<float>& StereoAudio::result(int channel) const {
    return outputs[channel] == inputs[channel] ? input[channel] : output[channel];
}

ClapPluginUnderTest::ClapPluginUnderTest(ClapTestHost& host, const char* id) {
    const ClapPluginFactory* factory = clapFactory();
    plugin = factory ? factory->createPlugin(factory, host.record(), id) : nullptr;
    if (plugin && !plugin->init(plugin)) {
        plugin->destroy(plugin);
        plugin = nullptr;
    }
}

ClapPluginUnderTest::~ClapPluginUnderTest() {
    if (!plugin) {
        return;
    }
    deactivate();
    plugin->destroy(plugin);
}

bool ClapPluginUnderTest::activate(double rate, std::uint32_t maxFrames) {
    active = plugin->activate(plugin, rate, 1, maxFrames);
    return active;
}

void ClapPluginUnderTest::deactivate() {
    if (processing) {
        plugin->stopProcessing(plugin);
        processing = false;
    }
    if (active) {
        plugin->deactivate(plugin);
        active = false;
    }
}

std::int32_t ClapPluginUnderTest::process(StereoAudio& audio, const EventList* in, EventList* out) {
    if (!processing) {
        processing = plugin->startProcessing(plugin);
    }
    static const EventList none;
    EventList discard;
    const ClapProcess block = {-1,
                               audio.frames,
                               transport,
                               &audio.in,
                               &audio.out,
                               1,
                               1,
                               (in ? in : &none)->input(),
                               (out ? out : &discard)->output()};
    return plugin->process(plugin, &block);
}

void ClapPluginUnderTest::play(const std::vector<float>& samples, std::uint32_t frames) {
    for (std::size_t start = 0; start < samples.size(); start += frames) {
        const auto length =
            static_cast<std::uint32_t>(std::min<std::size_t>(frames, samples.size() - start));
        StereoAudio audio(length, false);
        for (int channel = 0; channel < 2; ++channel) {
            std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(start), length,
                        audio.input[channel].begin());
        }
        process(audio);
    }
}

double ClapPluginUnderTest::value(ClapId id) const {
    double plain = -12345.0;
    const auto* params = extension<ClapPluginParams>(CLAP_EXT_PARAMS);
    EXPECT_TRUE(params->getValue(plugin, id, &plain)) << "parameter " << id;
    return plain;
}

std::string ClapPluginUnderTest::text(ClapId id, double value) const {
    char text[256] = "<untouched>";
    const auto* params = extension<ClapPluginParams>(CLAP_EXT_PARAMS);
    EXPECT_TRUE(params->valueToText(plugin, id, value, text, sizeof text)) << "parameter " << id;
    return text;
}

std::vector<unsigned char> ClapPluginUnderTest::save() const {
    std::vector<unsigned char> bytes;
    const ClapOstream stream = {
        &bytes, [](const ClapOstream* s, const void* data, std::uint64_t size) -> std::int64_t {
            auto* to = static_cast<std::vector<unsigned char>*>(s->ctx);
            const auto* from = static_cast<const unsigned char*>(data);
            to->insert(to->end(), from, from + size);
            return static_cast<std::int64_t>(size);
        }};
    const auto* state = extension<ClapPluginState>(CLAP_EXT_STATE);
    EXPECT_TRUE(state->save(plugin, &stream));
    return bytes;
}

bool ClapPluginUnderTest::load(const std::vector<unsigned char>& bytes, std::size_t chunk) const {
    struct Reader {
        const std::vector<unsigned char>& bytes;
        std::size_t chunk;
        std::size_t at;
    } reader{bytes, chunk, 0};
    const ClapIstream stream = {
        &reader, [](const ClapIstream* s, void* to, std::uint64_t size) -> std::int64_t {
            auto& r = *static_cast<Reader*>(s->ctx);
            if (r.chunk == 0) {
                return -1;
            }
            const std::size_t n =
                std::min<std::size_t>({std::size_t(size), r.chunk, r.bytes.size() - r.at});
            std::memcpy(to, r.bytes.data() + r.at, n);
            r.at += n;
            return static_cast<std::int64_t>(n);
        }};
    return extension<ClapPluginState>(CLAP_EXT_STATE)->load(plugin, &stream);
}
