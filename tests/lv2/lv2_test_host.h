// A host for the LV2 bundle under test, built on lilv as LV2 hosts are: loads the build's
// bundle (PEVO_LV2_BUNDLE), maps URIs for the plug-ins (urid:map) and drives instances only
// through their ports.
#pragma once

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

/// The lilv world with the bundle loaded, once per test process.
class Lv2Bundle {
  public:
    static Lv2Bundle& get();
    /// Null when the bundle has no plug-in of that URI.
    const LilvPlugin* plugin(const std::string& uri) const;
    LV2_URID map(const char* uri);
    LV2_URID_Map* urid() { return &uridMap; }
    const LV2_Feature* const* features() const { return featureList; }
    LilvWorld* world() const { return lilv; }

  private:
    Lv2Bundle();
    static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri);

    LilvWorld* lilv;
    std::map<std::string, LV2_URID> uris;
    LV2_URID_Map uridMap{this, &Lv2Bundle::mapUri};
    LV2_Feature mapFeature{LV2_URID__map, &uridMap};
    const LV2_Feature* featureList[2] = {&mapFeature, nullptr};
};

/// One instance with a buffer for each control port and the transport's sequence; audio is
/// connected by each `run`.
class Lv2TestInstance {
  public:
    Lv2TestInstance(const std::string& uri, double sampleRate);
    ~Lv2TestInstance();
    Lv2TestInstance(const Lv2TestInstance&) = delete;
    Lv2TestInstance& operator=(const Lv2TestInstance&) = delete;

    bool valid() const { return instance != nullptr; }
    /// The value of the control port `symbol`, to set or read.
    float& control(const std::string& symbol);
    /// Runs one block; `outputs` may be `inputs` (processing in place).
    void run(float* const* inputs, float* const* outputs, std::uint32_t frames);
    /// The next block's transport sequence carries a time:Position at its first frame.
    void sendPosition(double speed, std::int64_t frame);
    /// The next block's transport sequence carries `atom` (a UI's write) at its first frame.
    void sendAtom(const LV2_Atom* atom);
    /// The panel data sequence's events after the last block, each atom whole.
    const std::vector<std::vector<std::uint8_t>>& panelData() const { return panelEvents; }
    /// The room the panel data sequence offers, in bytes of its body.
    static constexpr std::uint32_t kPanelDataRoom = 4096;

  private:
    const LilvPlugin* plugin;
    LilvInstance* instance = nullptr;
    std::map<std::string, std::uint32_t> ports;
    std::vector<float> controls;
    std::vector<std::uint64_t> sequence;  ///< the atom sequence, 8-byte aligned
    /// Set up with every URI it needs mapped, so that no thread that runs maps one.
    LV2_Atom_Forge forge;
    LV2_URID position;
    LV2_URID speedKey;
    LV2_URID frameKey;
    std::uint32_t transportPort = 0;
    std::vector<std::uint64_t> panelSequence;  ///< 8-byte aligned, as the sequence above
    std::vector<std::vector<std::uint8_t>> panelEvents;
    std::uint32_t audioPorts[4] = {};
};
