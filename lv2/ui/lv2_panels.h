// The panels the UI library shows, in the order of its descriptors: each product's identity
// and parameter table (not its effect, which the UI library never links) and how its panel
// is made over a stand-in.
#pragma once

#include <cstdint>

#include "lv2/ui/lv2_panel_ui.h"

struct ParameterTable;
struct ProductIdentity;

struct Lv2Panel {
    const ProductIdentity& identity;
    const ParameterTable& parameters;
    Lv2PanelUi::MakeStandIn make;
};

constexpr std::uint32_t kLv2PanelCount = 2;

/// Null past the last panel.
const Lv2Panel* lv2Panel(std::uint32_t index);
