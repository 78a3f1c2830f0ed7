// The pieces of text pevo-host reads settings from and writes them in: names and words
// compared as people type them, numbers with a unit after them.
#pragma once

#include <string>

namespace setting_text {

/// `text` without the spaces around it.
std::string trimmed(const std::string& text);
/// Whether `a` and `b` are the same, in any case.
bool sameWords(const std::string& a, const std::string& b);
/// A number at the start of `text`, and what follows it, trimmed; false when it starts
/// with none.
bool leadingNumber(const std::string& text, double& number, std::string& rest);
/// The shortest text of `number`, as "%g" writes it.
std::string numberText(double number);

}  // namespace setting_text
