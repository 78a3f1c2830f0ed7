// A CLAP host for the tests: loads the built Pevo.clap (named by PEVO_CLAP) through
// `clap_entry` as hosts do, offers the host extensions a meter uses and records what the
// plug-in asks of them, and drives instances only through their records.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "clap/clap_abi.h"

/// The loaded library's entry record, initialised once per test program; null if missing.
const ClapPluginEntry* clapEntry();
/// Its plug-in factory.
const ClapPluginFactory* clapFactory();

class ClapTestHost {
  public:
    ClapTestHost();
    ClapTestHost(const ClapTestHost&) = delete;
    ClapTestHost& operator=(const ClapTestHost&) = delete;

    const ClapHost* record() const { return &host; }

    /// Which extensions the host offers (a scanning host offers none).
    bool offersExtensions = true;

    std::vector<std::string> logged() const;
    std::atomic<int> valueRescans{0};
    std::atomic<int> flushRequests{0};
    /// The timers the plug-in holds now, and the period it asked for.
    std::vector<ClapId> timers;
    std::uint32_t timerPeriod = 0;

  private:
    static ClapTestHost& of(const ClapHost* host);
    static const void* CLAP_ABI extension(const ClapHost* host, const char* id);

    ClapHost host;
    mutable std::mutex logMutex;
    std::vector<std::string> messages;
    ClapId nextTimer = 0;
};

/// A list of events to hand to the plug-in, or to receive its events.
class EventList {
  public:
    EventList();
    EventList(const EventList&) = delete;
    EventList& operator=(const EventList&) = delete;

    /// A plain PARAM_VALUE event for `id` at frame `time`.
    void addValue(std::uint32_t time, ClapId id, double value, std::uint16_t space = 0);
    void add(const ClapEventHeader& event);
    void clear() { events.clear(); }
    std::size_t size() const { return events.size(); }
    const ClapEventHeader& at(std::size_t index) const;
    /// The events received as "type:id[=value]" words, e.g. "7:3 5:3=1 8:3".
    std::string summary() const;

    const ClapInputEvents* input() const { return &in; }
    const ClapOutputEvents* output() const { return &out; }

  private:
    std::vector<std::vector<unsigned char>> events;
    ClapInputEvents in;
    ClapOutputEvents out;
};

/// Stereo audio for one block: separate input and output, or one buffer for both.
struct StereoAudio {
    StereoAudio(std::uint32_t frames, bool inPlace);
    StereoAudio(const StereoAudio&) = delete;
    StereoAudio& operator=(const StereoAudio&) = delete;
    /// Copies `left` and `right` (at least `frames` long each) into the input buffers.
    void fill(const std::vector<float>& left, const std::vector<float>& right);
    /// Output after the plug-in ran: the shared buffer when in place.
    const std::vector<float>& result(int channel) const;

    std::uint32_t frames;
    std::vector<float> input[2];
    std::vector<float> output[2];
    float* inputs[2];
    float* outputs[2];
    ClapAudioBuffer in;
    ClapAudioBuffer out;
};

/// One plug-in instance, created and initialised through the factory; deactivated and
/// destroyed when it goes.
class ClapPluginUnderTest {
  public:
    ClapPluginUnderTest(ClapTestHost& host, const char* id);
    ~ClapPluginUnderTest();

    template <typename Extension>
    const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(plugin->getExtension(plugin, id));
    }

    bool activate(double rate, std::uint32_t maxFrames = 4096);
    void deactivate();
    /// One block, processing started first if needed.
    std::int32_t process(StereoAudio& audio, const EventList* in = nullptr,
                         EventList* out = nullptr);
    /// Plays `samples` on both channels in blocks of `frames`.
    void play(const std::vector<float>& samples, std::uint32_t frames = 512);

    double value(ClapId id) const;
    std::string text(ClapId id, double value) const;
    std::vector<unsigned char> save() const;
    /// Loads `bytes`, handed over `chunk` bytes at a time; a chunk of 0 fails every read.
    bool load(const std::vector<unsigned char>& bytes, std::size_t chunk = 17) const;

    const ClapPlugin* plugin = nullptr;
    /// The transport every block carries; null for a host without one.
    const ClapEventTransport* transport = nullptr;
    bool active = false;
    bool processing = false;
};
