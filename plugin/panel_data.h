// A request of the family's own, for formats whose panel runs apart from its effect (an LV2
// UI, perhaps a CLAP one): the effect writes what its panel keeps beyond single parameter
// values (the loudness meter's history) as an opaque stream of pieces, which the product's
// own reader on the panel's side takes back. Sent as effVendorSpecific with index
// kPanelSnapshotIndex (the family's four letters), value kPanelDataValue and a
// PanelDataPiece as the pointer; safe on the audio thread: it never allocates, locks or
// calls the system. Answer 1: a piece was written; 0: nothing new to send, or no room for a
// piece, or the product has no such data.
#pragma once

#include <cstdint>

#include "plugin/panel_snapshot.h"
#include "plugin/vst2.h"

constexpr VstIntPtr kPanelDataValue = fourCharCode('d', 'a', 't', 'a');

struct PanelDataPiece {
    /// A cursor that asks for the whole stream from its start.
    static constexpr std::uint64_t kFromStart = ~std::uint64_t{0};

    /// In and out: where the stream goes on, as the effect last left it; the caller keeps it
    /// between requests and sets kFromStart to have everything sent again.
    std::uint64_t cursor;
    void* bytes;             ///< in: where the piece goes
    std::uint32_t capacity;  ///< in: bytes of room there
    std::uint32_t size;      ///< out: bytes written
};
