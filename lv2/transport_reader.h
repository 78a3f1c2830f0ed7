// The host's transport as an LV2 host tells it: time:Position objects on the transport port.
// Keeps what the last one said as a VST 2 time record, which answers the hosted effect's time
// request; until a position with a speed arrives, or without the host's urid:map, there is
// none, and the effect runs as under a host without time. Real-time safe once made.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <cstdint>

#include "plugin/vst2.h"

class TransportReader {
  public:
    /// Maps what it reads through the host's urid:map among `features` (may be null).
    TransportReader(const LV2_Feature* const* features, double sampleRate);

    /// Whether `atom` is a time:Position this reader understands.
    bool isPosition(const LV2_Atom& atom) const;
    /// Takes the speed (0: stopped) and frame of a time:Position object.
    void read(const LV2_Atom& position);
    /// Moves the transport on by `frames` frames of audio at its speed.
    void advance(std::uint32_t frames);
    /// The transport as last told; null while the host has told none.
    const VstTimeInfo* time() const { return known ? &record : nullptr; }

  private:
    /// A number atom's value (float, double, int or long); false for any other atom.
    bool numberOf(const LV2_Atom* atom, double* value) const;

    struct Uris {
        LV2_URID object = 0;
        LV2_URID blank = 0;
        LV2_URID position = 0;
        LV2_URID speed = 0;
        LV2_URID frame = 0;
        LV2_URID atomFloat = 0;
        LV2_URID atomDouble = 0;
        LV2_URID atomInt = 0;
        LV2_URID atomLong = 0;
    } uris;
    VstTimeInfo record{};
    double speed = 0.0;
    bool known = false;
};
