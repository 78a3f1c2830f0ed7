// A product's VST 2 build, loaded beside another format's build of the same product and
// driven as a VST 2 host drives it, so that the tests can compare what both report.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugin/vst2.h"

class PluginLibrary;

class Vst2Peer {
  public:
    /// The library at `path`, running at `rate`; `ready()` is false when it won't load.
    Vst2Peer(const std::string& path, double rate, std::int32_t maxFrames = 4096);
    /// Whichever of the libraries in `paths` (separated by ':') has the unique ID `uniqueId`,
    /// running at `rate`; null when none has.
    static std::unique_ptr<Vst2Peer> withUniqueId(const std::string& paths, VstInt32 uniqueId,
                                                  double rate);
    ~Vst2Peer();
    Vst2Peer(const Vst2Peer&) = delete;
    Vst2Peer& operator=(const Vst2Peer&) = delete;

    bool ready() const { return effect != nullptr; }
    /// Stops, takes the new rate and starts again, as a host does between sessions.
    void restart(double rate);
    /// Runs `frames` frames of both channels' samples from `left` and `right`.
    void process(const float* left, const float* right, std::int32_t frames);
    /// Plays `samples` on both channels in blocks of `frames`.
    void play(const std::vector<float>& samples, std::int32_t frames = 512);
    float get(std::int32_t index) const;
    void set(std::int32_t index, float value);
    /// The display text and label, as a host shows them side by side.
    std::string text(std::int32_t index) const;
    std::string name(std::int32_t index) const;

    AEffect* effect = nullptr;

  private:
    std::string request(VstInt32 opcode, std::int32_t index) const;

    std::unique_ptr<PluginLibrary> library;
};
