// The figures of pevo-loudness (and of pevo-host --loudness) as a table lined up for reading, as
// CSV or as JSON (one object per input, on one line). Undefined figures read "---" in the table, an
// empty field in CSV and null in JSON.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tools/common/measurement.h"

class LoudnessReport {
  public:
    enum class Format { kTable, kCsv, kJson };

    /// `target`: the loudness to give each input's gain to, if any.
    LoudnessReport(Format format, std::optional<double> target, std::FILE* out);

    /// Prints every input's figures and, in a table of several inputs, `total`.
    void print(const std::vector<Measurement>& inputs, const Measurement* total) const;
    /// The figures of `input` as the members of a JSON object, without the braces, the
    /// name and the series.
    std::string jsonFigures(const Measurement& input) const;

  private:
    void printTable(const std::vector<Measurement>& inputs, const Measurement* total) const;
    void printCsv(const std::vector<Measurement>& inputs) const;
    void printJson(const Measurement& input) const;
    /// The figures after the name, in the order of the columns.
    std::vector<double> figures(const Measurement& input) const;
    std::vector<std::string> columns() const;

    Format format;
    std::optional<double> target;
    std::FILE* out;
};
