#include "plugin/value_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kMaxChars = 8;
constexpr std::size_t kTextSize = kMaxChars + 1;
constexpr double kLargestPositive = 99999999.0;
constexpr double kLargestNegative = 9999999.0;
constexpr VstInt32 kLargestLong = 99999999;
constexpr VstInt32 kSmallestLong = -9999999;

}  // namespace

void floatText(float value, char* text) {
    double v = value;
    if (std::isnan(v)) {
        copyBounded(text, "NaN", kTextSize);
        return;
    }
    const bool negative = v < 0.0;
    if (negative) {
        v = -v;
    }
    if (v > (negative ? kLargestNegative : kLargestPositive)) {
        copyBounded(text, "Huge!", kTextSize);
        return;
    }

    char out[kTextSize];
    int used = 0;
    if (negative) {
        out[used++] = '-';
    }
    char digits[16];
    const int digitCount =
        std::snprintf(digits, sizeof(digits), "%u", static_cast<unsigned>(std::floor(v)));
    std::memcpy(out + used, digits, static_cast<std::size_t>(digitCount));
    used += digitCount;
    // An integer part that fills all 8 characters goes without the point: dropping a
    // leading digit instead would show a different number.
    if (used < kMaxChars) {
        out[used++] = '.';
    }

    // Fraction digits, right to left, truncated.
    const int places = kMaxChars - used;
    double m = std::fmod(v, 1.0) * std::pow(10.0, places);
    for (int place = used + places - 1; place >= used; --place) {
        if (m <= 0.0) {
            out[place] = '0';
        } else {
            out[place] = static_cast<char>('0' + static_cast<int>(std::fmod(m, 10.0)));
            m /= 10.0;
        }
    }
    out[used + places] = '\0';
    copyBounded(text, out, kTextSize);
}

void decibelText(float value, char* text) {
    if (value <= 0.0f) {
        copyBounded(text, "-oo", kTextSize);
        return;
    }
    const auto exponent = static_cast<float>(std::log10(static_cast<double>(value)));
    floatText(static_cast<float>(exponent * 20.0f), text);
}

void longText(VstInt32 value, char* text) {
    // Cutting a longer number to 8 characters would show a different number.
    if (value > kLargestLong || value < kSmallestLong) {
        copyBounded(text, "Huge!", kTextSize);
        return;
    }
    char out[16];
    std::snprintf(out, sizeof(out), "%7d", static_cast<int>(value));
    copyBounded(text, out, kTextSize);
}

void copyBounded(char* text, const char* source, std::size_t size) {
    if (size == 0) {
        return;
    }
    // Bounded scan: a host's text need not be terminated within our limit.
    std::size_t length = 0;
    while (length + 1 < size && source[length] != '\0') {
        ++length;
    }
    std::memcpy(text, source, length);
    text[length] = '\0';
}
