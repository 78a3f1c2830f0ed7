// The loudness that common deliveries ask for: the integrated loudness to reach, how far
// from it a programme may be, and the highest true peak allowed. pevo-loudness checks files
// against them (--preset) and the loudness meter's programs aim at them.
#pragma once

#include <string_view>

struct DeliveryTarget {
    /// How a command line names it.
    const char* name;
    /// How a user knows it.
    const char* title;
    double loudness;     ///< LUFS
    double tolerance;    ///< LU either side
    double maxTruePeak;  ///< dBTP
};

inline constexpr DeliveryTarget kDeliveryTargets[] = {
    {"ebu-r128", "EBU R 128", -23.0, 0.5, -1.0},
    {"atsc-a85", "ATSC A/85", -24.0, 2.0, -2.0},
    {"streaming", "Streaming", -14.0, 1.0, -1.0},
    {"podcast", "Podcast", -16.0, 1.0, -1.0},
};

/// The target named `name`, or null.
inline const DeliveryTarget* deliveryTargetNamed(std::string_view name) {
    for (const DeliveryTarget& target : kDeliveryTargets) {
        if (name == target.name) {
            return &target;
        }
    }
    return nullptr;
}
