#include "tools/loudness/delivery_check.h"

#include <cmath>
#include <cstdio>
#include <string>

void DeliveryCheck::judge(Measurement& input) const {
    // A part of a delivery is no delivery, whatever its figures.
    std::string reasons = input.cutShort ? "cut short" : "";
    const auto add = [&reasons](const char* format, double a, double b, double c) {
        char text[160];
        std::snprintf(text, sizeof text, format, a, b, c);
        reasons += (reasons.empty() ? "" : "; ") + std::string(text);
    };
    if (loudness) {
        const double away = input.integrated - *loudness;
        if (!std::isfinite(input.integrated)) {
            reasons +=
                (reasons.empty() ? "" : "; ") + std::string("no integrated loudness (silence)");
        } else if (std::fabs(away) > *tolerance) {
            add("integrated %.1f LUFS is %.1f LU off %g LUFS", input.integrated, std::fabs(away),
                *loudness);
            char bound[48];
            std::snprintf(bound, sizeof bound, " (+-%g)", *tolerance);
            reasons += bound;
        }
    }
    if (maxTruePeak && input.truePeak > *maxTruePeak) {
        add("true peak %+.1f dBTP above %+g dBTP", input.truePeak, *maxTruePeak, 0.0);
    }
    input.verdict = reasons.empty() ? "PASS" : "FAIL";
    input.reason = reasons;
}
