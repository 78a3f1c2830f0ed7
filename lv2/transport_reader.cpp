#include "lv2/transport_reader.h"

#include <lv2/atom/util.h>
#include <lv2/time/time.h>

#include <cstring>

TransportReader::TransportReader(const LV2_Feature* const* features, double sampleRate) {
    record.sampleRate = sampleRate;
    const LV2_URID_Map* map = nullptr;
    for (const LV2_Feature* const* f = features; f && *f; ++f) {
        if (std::strcmp((*f)->URI, LV2_URID__map) == 0) {
            map = static_cast<const LV2_URID_Map*>((*f)->data);
        }
    }
    if (!map) {
        return;  // every id stays 0, which no atom carries: nothing is read
    }
    const auto id = [map](const char* uri) { return map->map(map->handle, uri); };
    uris = {id(LV2_ATOM__Object), id(LV2_ATOM__Blank), id(LV2_TIME__Position),
            id(LV2_TIME__speed),  id(LV2_TIME__frame), id(LV2_ATOM__Float),
            id(LV2_ATOM__Double), id(LV2_ATOM__Int),   id(LV2_ATOM__Long)};
}

bool TransportReader::isPosition(const LV2_Atom& atom) const {
    if (uris.position == 0 || (atom.type != uris.object && atom.type != uris.blank) ||
        atom.size < sizeof(LV2_Atom_Object_Body)) {
        return false;
    }
    return reinterpret_cast<const LV2_Atom_Object&>(atom).body.otype == uris.position;
}

void TransportReader::read(const LV2_Atom& position) {
    const LV2_Atom* speedAtom = nullptr;
    const LV2_Atom* frameAtom = nullptr;
    lv2_atom_object_get(reinterpret_cast<const LV2_Atom_Object*>(&position), uris.speed, &speedAtom,
                        uris.frame, &frameAtom, 0);
    double value = 0.0;
    if (numberOf(frameAtom, &value)) {
        record.samplePos = value;
    }
    if (numberOf(speedAtom, &value)) {
        speed = value;
        known = true;
        record.flags = (speed != 0.0 ? kVstTransportPlaying : 0) | kVstTransportChanged;
    }
}

void TransportReader::advance(std::uint32_t frames) {
    record.samplePos += speed * frames;
    record.flags &= ~kVstTransportChanged;
}

bool TransportReader::numberOf(const LV2_Atom* atom, double* value) const {
    if (!atom) {
        return false;
    }
    const void* body = atom + 1;
    if (atom->type == uris.atomFloat && atom->size >= sizeof(float)) {
        *value = *static_cast<const float*>(body);
    } else if (atom->type == uris.atomDouble && atom->size >= sizeof(double)) {
        *value = *static_cast<const double*>(body);
    } else if (atom->type == uris.atomInt && atom->size >= sizeof(std::int32_t)) {
        *value = *static_cast<const std::int32_t*>(body);
    } else if (atom->type == uris.atomLong && atom->size >= sizeof(std::int64_t)) {
        *value = static_cast<double>(*static_cast<const std::int64_t*>(body));
    } else {
        return false;
    }
    return true;
}
