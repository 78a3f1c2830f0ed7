// A request of the family's own, for hosts and tools that want a picture of a panel without
// a window: the effect draws its editor's panel, as it stands, into the caller's pixels.
// Sent as effVendorSpecific with index kPanelSnapshotIndex (the family's four letters),
// value kPanelSnapshotValue and a PanelSnapshot as the pointer; other hosts never send it.
#pragma once

#include <cstdint>

#include "plugin/vst2.h"

constexpr VstInt32 kPanelSnapshotIndex = fourCharCode('P', 'e', 'v', 'o');
constexpr VstIntPtr kPanelSnapshotValue = fourCharCode('s', 'n', 'a', 'p');

/// Answer 1: drawn. Answer 0: not drawn; width and height then hold the panel's size.
struct PanelSnapshot {
    std::int32_t width;     ///< in: pixels per row of `pixels`; must equal the panel's
    std::int32_t height;    ///< in: rows of `pixels`; must equal the panel's
    std::uint32_t* pixels;  ///< 0x00RRGGBB, top row first
};
