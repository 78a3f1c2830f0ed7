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
    kParameterCount = 8
};

const ProductIdentity& levelMeterIdentity();
/// One entry per MeterParameter, in index order.
const ParameterTable& levelMeterParameters();
