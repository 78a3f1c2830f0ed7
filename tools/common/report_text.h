// The pieces of text every report of the tools is made of: JSON strings, CSV fields and
// figures with a fixed number of decimals.
#pragma once

#include <string>

namespace report_text {

/// `text` as a quoted JSON string; bytes that are not UTF-8 (a file name may hold any)
/// become U+FFFD.
std::string jsonString(const std::string& text);
/// `text` as one CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text);
/// `value` with `decimals`, or `undefined` for a value that is not finite; never "-0.0".
std::string number(double value, int decimals, const std::string& undefined);
/// `value` with `decimals` and its sign always shown, or `undefined`.
std::string signedNumber(double value, int decimals, const std::string& undefined);

}  // namespace report_text
