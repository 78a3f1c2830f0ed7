#include "tools/loudness/delivery_check.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

/// Past this many decimals a figure is as the meter read it.
constexpr int kMostDecimals = 6;

/// The fewest decimals, one at least, at which `value` reads above `bound` as printed: a
/// figure that fails by less than its last shown digit would read as within the bound.
int decimalsAbove(double value, double bound) {
    int decimals = 1;
    for (char text[64]; decimals < kMostDecimals; ++decimals) {
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        if (std::strtod(text, nullptr) > bound) {
            break;
        }
    }
    return decimals;
}

}  // namespace

void DeliveryCheck::judge(Measurement& input) const {
    // A part of a delivery is no delivery, whatever its figures.
    std::string reasons = input.cutShort ? "cut short" : "";
    const auto add = [&reasons](const std::string& reason) {
        reasons += (reasons.empty() ? "" : "; ") + reason;
    };
    char text[160];
    if (loudness) {
        const double away = std::fabs(input.integrated - *loudness);
        if (!std::isfinite(input.integrated)) {
            add("no integrated loudness (silence)");
        } else if (away > *tolerance) {
            const int decimals = decimalsAbove(away, *tolerance);
            std::snprintf(text, sizeof text, "integrated %.*f LUFS is %.*f LU off %g LUFS (+-%g)",
                          decimals, input.integrated, decimals, away, *loudness, *tolerance);
            add(text);
        }
    }
    if (maxTruePeak && input.truePeak > *maxTruePeak) {
        std::snprintf(text, sizeof text, "true peak %+.*f dBTP above %+g dBTP",
                      decimalsAbove(input.truePeak, *maxTruePeak), input.truePeak, *maxTruePeak);
        add(text);
    }
    input.verdict = reasons.empty() ? "PASS" : "FAIL";
    input.reason = reasons;
}
