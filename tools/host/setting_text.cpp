#include "tools/host/setting_text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string setting_text::trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool setting_text::sameWords(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool setting_text::leadingNumber(const std::string& text, double& number, std::string& rest) {
    const std::string clean = trimmed(text);
    errno = 0;
    char* end = nullptr;
    number = std::strtod(clean.c_str(), &end);
    if (errno != 0 || end == clean.c_str() || std::isnan(number)) {
        return false;
    }
    rest = trimmed(end);
    return true;
}

std::string setting_text::numberText(double number) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", number);
    return text;
}
