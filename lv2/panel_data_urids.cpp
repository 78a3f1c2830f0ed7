#include "lv2/panel_data_urids.h"

#include <lv2/atom/util.h>

#include <cstring>

bool PanelDataUrids::map(const LV2_Feature* const* features) {
    for (; features && *features; ++features) {
        if (std::strcmp((*features)->URI, LV2_URID__map) == 0) {
            host = static_cast<const LV2_URID_Map*>((*features)->data);
        }
    }
    if (!host) {
        return false;
    }
    const auto mapped = [this](const char* uri) { return host->map(host->handle, uri); };
    object = mapped(LV2_ATOM__Object);
    blank = mapped(LV2_ATOM__Blank);
    chunk = mapped(LV2_ATOM__Chunk);
    sequence = mapped(LV2_ATOM__Sequence);
    eventTransfer = mapped(LV2_ATOM__eventTransfer);
    request = mapped(kRequestUri);
    data = mapped(kDataUri);
    piece = mapped(kPieceUri);
    return true;
}

bool PanelDataUrids::isObject(const LV2_Atom* atom, LV2_URID type) const {
    return atom && (atom->type == object || atom->type == blank) &&
           atom->size >= sizeof(LV2_Atom_Object_Body) &&
           reinterpret_cast<const LV2_Atom_Object*>(atom)->body.otype == type;
}

const LV2_Atom* PanelDataUrids::pieceOf(const LV2_Atom* atom, std::uint32_t size) const {
    if (size < sizeof(LV2_Atom) || atom->size > size - sizeof(LV2_Atom) || !isObject(atom, data)) {
        return nullptr;
    }
    const LV2_Atom* found = nullptr;
    lv2_atom_object_get(reinterpret_cast<const LV2_Atom_Object*>(atom), piece, &found, 0);
    if (!found || found->type != chunk) {
        return nullptr;
    }
    // The chunk whole within the bytes given, whatever its header claims.
    const auto* end = reinterpret_cast<const std::uint8_t*>(atom) + size;
    const auto* body = static_cast<const std::uint8_t*>(LV2_ATOM_BODY_CONST(found));
    return body <= end && found->size <= static_cast<std::size_t>(end - body) ? found : nullptr;
}
