// The atoms that carry a panel's data between a plug-in and its UI: the UI's request for all
// of it (an object of type PanelDataRequest, written to the plug-in's control sequence), and
// the plug-in's pieces (objects of type PanelData whose `piece` is a chunk of the product's
// stream, in its panel data sequence). What the chunks hold is the product's business.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <cstdint>

struct PanelDataUrids {
    static constexpr const char* kRequestUri = "https://quellmark.org/pevo/lv2#PanelDataRequest";
    static constexpr const char* kDataUri = "https://quellmark.org/pevo/lv2#PanelData";
    static constexpr const char* kPieceUri = "https://quellmark.org/pevo/lv2#piece";

    /// Maps every URI through the host's map, found among `features`; false without one.
    bool map(const LV2_Feature* const* features);
    /// Whether `atom` is an object (or blank) of type `type`.
    bool isObject(const LV2_Atom* atom, LV2_URID type) const;
    /// The chunk that `atom`, a PanelData object of `size` bytes in all, carries; null for
    /// anything else.
    const LV2_Atom* pieceOf(const LV2_Atom* atom, std::uint32_t size) const;

    const LV2_URID_Map* host = nullptr;
    LV2_URID object = 0;
    LV2_URID blank = 0;
    LV2_URID chunk = 0;
    LV2_URID sequence = 0;
    LV2_URID eventTransfer = 0;
    LV2_URID request = 0;
    LV2_URID data = 0;
    LV2_URID piece = 0;
};
