// The level meter's parameters by index, as hosts and its panel address them, and the
// product's identity and parameter table, which every format reads.
#pragma once

#include <cstdint>

#include "plugin/product.h"

/// The effect's parameters by index, as hosts and the editor address them.
enum MeterParameter : std::int32_t {
    kDelay = 0,
    kRmsLevel = 1,
    kPeakLevel = 2,
    kHoldLevel = 3,
    /// Shown with the label "dB"; the meter does nothing with it.
    kVolume = 4,
    kMode = 5,
    /// "Resp": the peak-hold time.
    kResp = 6,
    kRmsMode = 7,
    /// The parameters VST 2 hosts see.
    kParameterCount = 8,
    /// Each strip's levels on their own (strip 0, then 1, of RMS, peak and hold), as the
    /// meters' scale reads them from 0 to 1: for formats that carry more readings than VST 2,
    /// whose hosts meet only the last published value of each meter above.
    kStripLevels = 8,
    kStripLevelCount = 6,
    kTableEntryCount = kStripLevels + kStripLevelCount
};

const ProductIdentity& levelMeterIdentity();
/// One entry per MeterParameter below kTableEntryCount, in index order.
const ParameterTable& levelMeterParameters();
