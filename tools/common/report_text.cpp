#include "tools/common/report_text.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace report_text {

std::string jsonString(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string number(double value, int decimals, const std::string& undefined) {
    if (!std::isfinite(value)) {
        return undefined;
    }
    // What rounds to zero prints without a sign.
    const double scale = std::pow(10.0, decimals);
    const double shown = std::round(value * scale) == 0.0 ? 0.0 : value;
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, shown);
    return text;
}

std::string signedNumber(double value, int decimals, const std::string& undefined) {
    const std::string text = number(value, decimals, undefined);
    return std::isfinite(value) && text[0] != '-' && text != number(0.0, decimals, "") ? "+" + text
                                                                                       : text;
}

}  // namespace report_text
