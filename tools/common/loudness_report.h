// The figures of pevo-loudness (and of pevo-host --loudness) as a table lined up for reading,
// as CSV or as JSON (one object per input, on one line). Undefined figures read "---" in the
// table, an empty field in CSV and null in JSON.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tools/common/measurement.h"

class LoudnessReport {
  public:
    enum class Format { kTable, kCsv, kJson };

    /// The columns beyond those every report has.
    struct Extras {
        /// The loudness to give each input's gain to, if any.
        std::optional<double> target;
        /// The true-peak ceiling whose overs are shown, if any.
        std::optional<double> ceiling;
        /// Each input's PASS or FAIL against a delivery target.
        bool verdicts = false;
        /// The normalised files written, with the input and the gain of each.
        bool normalised = false;
        /// The seconds between points of the series, 0 for none.
        double every = 0.0;
    };

    LoudnessReport(Format format, Extras extras, std::FILE* out);

    /// Prints every input's figures and `total`, the album's, if given.
    void print(const std::vector<Measurement>& inputs, const Measurement* total) const;
    /// The figures of `input` as the members of a JSON object, without the braces, the
    /// name and the series.
    std::string jsonFigures(const Measurement& input) const;

  private:
    struct Column;

    void printTable(const std::vector<const Measurement*>& rows) const;
    void printSeriesTables(const std::vector<Measurement>& inputs) const;
    void printCsv(const std::vector<const Measurement*>& rows) const;
    void printSeriesCsv(const std::vector<Measurement>& inputs) const;
    void printJson(const Measurement& input, bool total) const;
    std::vector<Column> columns() const;
    /// Decimals of the seconds of the series: enough to tell its points apart.
    int timeDecimals() const;

    Format format;
    Extras extras;
    std::FILE* out;
};
