#include "tools/common/loudness_report.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "tools/common/report_text.h"

using report_text::csvField;
using report_text::jsonString;
using report_text::number;
using report_text::signedNumber;

namespace {

std::string clock(double seconds, int decimals) {
    if (seconds < 0.0) {
        return "---";
    }
    const double scale = std::pow(10.0, decimals);
    const long long units = std::llround(seconds * scale);
    const auto whole = static_cast<long long>(units / static_cast<long long>(scale));
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%0*lld", whole / 3600, whole / 60 % 60,
                  whole % 60, decimals, units % static_cast<long long>(scale));
    return text;
}

std::string perChannel(const Measurement& input) {
    std::string text;
    for (const double peak : input.channelTruePeaks) {
        text += (text.empty() ? "" : " / ") + signedNumber(peak, 1, "---");
    }
    return text.empty() ? "---" : text;
}

}  // namespace

/// One column: its name in CSV and JSON (empty for the table only), its head and unit in the
/// table (empty for CSV and JSON only), and how a figure of it is shown.
struct LoudnessReport::Column {
    enum class Kind { kLevel, kPeak, kDuration, kTime, kCount, kText };
    const char* key;
    const char* head;
    const char* unit;
    Kind kind;
    std::function<double(const Measurement&)> value;
    std::function<std::string(const Measurement&)> text;

    std::string table(const Measurement& m) const {
        switch (kind) {
            case Kind::kLevel:
                return number(value(m), 1, "---");
            case Kind::kPeak:
                return signedNumber(value(m), 1, "---");
            case Kind::kDuration:
                return clock(value(m), 1);
            case Kind::kTime:
                return clock(value(m), 1);
            case Kind::kCount:
                return number(value(m), 0, "---");
            case Kind::kText:
                return text(m).empty() ? "---" : text(m);
        }
        return "";
    }
    /// The field in CSV, or with `undefined` for JSON.
    std::string machine(const Measurement& m, const std::string& undefined, bool json) const {
        switch (kind) {
            case Kind::kLevel:
            case Kind::kPeak:
            case Kind::kDuration:
                return number(value(m), 2, undefined);
            case Kind::kTime:
                return value(m) < 0.0 ? undefined : number(value(m), 1, undefined);
            case Kind::kCount:
                return number(value(m), 0, undefined);
            case Kind::kText:
                if (text(m).empty()) {
                    return undefined;
                }
                return json ? jsonString(text(m)) : csvField(text(m));
        }
        return "";
    }
};

LoudnessReport::LoudnessReport(Format format, Extras extras, std::FILE* out)
    : format(format), extras(extras), out(out) {}

std::vector<LoudnessReport::Column> LoudnessReport::columns() const {
    using Kind = Column::Kind;
    using M = const Measurement&;
    std::vector<Column> all = {
        {"integrated", "integrated", "LUFS", Kind::kLevel, [](M m) { return m.integrated; }, {}},
        {"range", "range", "LU", Kind::kLevel, [](M m) { return m.range; }, {}},
        {"max_momentary", "max M", "LUFS", Kind::kLevel, [](M m) { return m.maxMomentary; }, {}},
        {"max_short_term", "max S", "LUFS", Kind::kLevel, [](M m) { return m.maxShortTerm; }, {}},
        {"true_peak", "true peak", "dBTP", Kind::kPeak, [](M m) { return m.truePeak; }, {}},
        {"", "per channel", "dBTP", Kind::kText, {}, perChannel},
        {"sample_peak", "sample peak", "dBFS", Kind::kPeak, [](M m) { return m.samplePeak; }, {}},
        {"duration", "duration", "h:mm:ss", Kind::kDuration, [](M m) { return m.seconds; }, {}},
    };
    if (extras.target) {
        const double target = *extras.target;
        all.push_back({"target", "", "", Kind::kLevel, [target](M) { return target; }, {}});
        all.push_back({"gain",
                       "gain",
                       "dB",
                       Kind::kPeak,
                       [target](M m) { return target - m.integrated; },
                       {}});
        all.push_back({"true_peak_after_gain",
                       "peak after",
                       "dBTP",
                       Kind::kPeak,
                       [target](M m) { return m.truePeak + target - m.integrated; },
                       {}});
    }
    all.push_back({"layout", "layout", "", Kind::kText, {}, [](M m) { return m.layout; }});
    all.push_back({"max_momentary_time",
                   "M at",
                   "h:mm:ss",
                   Kind::kTime,
                   [](M m) { return m.maxMomentaryTime; },
                   {}});
    all.push_back({"max_short_term_time",
                   "S at",
                   "h:mm:ss",
                   Kind::kTime,
                   [](M m) { return m.maxShortTermTime; },
                   {}});
    if (extras.ceiling) {
        all.push_back({"first_over_time",
                       "first over",
                       "h:mm:ss",
                       Kind::kTime,
                       [](M m) { return m.firstOverTime; },
                       {}});
        all.push_back({"over_steps",
                       "overs",
                       "100 ms",
                       Kind::kCount,
                       [](M m) { return static_cast<double>(m.oversteps); },
                       {}});
    }
    if (extras.verdicts) {
        all.push_back({"verdict", "verdict", "", Kind::kText, {}, [](M m) { return m.verdict; }});
        all.push_back({"reason", "reason", "", Kind::kText, {}, [](M m) { return m.reason; }});
    }
    if (extras.normalised) {
        all.push_back(
            {"normalised_from", "from", "", Kind::kText, {}, [](M m) { return m.normalisedFrom; }});
        all.push_back({"gain_applied",
                       "gain applied",
                       "dB",
                       Kind::kPeak,
                       [](M m) {
                           return m.normalisedFrom.empty()
                                      ? -std::numeric_limits<double>::infinity()
                                      : m.appliedGain;
                       },
                       {}});
    }
    return all;
}

int LoudnessReport::timeDecimals() const {
    int decimals = 1;
    while (decimals < 6 && std::fabs(extras.every * std::pow(10.0, decimals) -
                                     std::round(extras.every * std::pow(10.0, decimals))) > 1e-6) {
        ++decimals;
    }
    return decimals;
}

void LoudnessReport::print(const std::vector<Measurement>& inputs, const Measurement* total) const {
    std::vector<const Measurement*> rows;
    for (const Measurement& input : inputs) {
        rows.push_back(&input);
    }
    const bool album = total != nullptr;
    if (format == Format::kTable) {
        printSeriesTables(inputs);
        if (album) {
            rows.push_back(total);
        }
        printTable(rows);
    } else if (format == Format::kCsv) {
        if (extras.every > 0) {
            printSeriesCsv(inputs);
        } else {
            if (album) {
                rows.push_back(total);
            }
            printCsv(rows);
        }
    } else {
        for (const Measurement& input : inputs) {
            printJson(input, false);
        }
        if (album) {
            printJson(*total, true);
        }
    }
    std::fflush(out);
}

void LoudnessReport::printCsv(const std::vector<const Measurement*>& rows) const {
    const std::vector<Column> all = columns();
    std::fprintf(out, "file");
    for (const Column& column : all) {
        if (*column.key) {
            std::fprintf(out, ",%s", column.key);
        }
    }
    std::fprintf(out, "\n");
    for (const Measurement* row : rows) {
        std::fprintf(out, "%s", csvField(row->name).c_str());
        for (const Column& column : all) {
            if (*column.key) {
                std::fprintf(out, ",%s", column.machine(*row, "", false).c_str());
            }
        }
        std::fprintf(out, "\n");
    }
}

void LoudnessReport::printSeriesCsv(const std::vector<Measurement>& inputs) const {
    const int decimals = std::max(3, timeDecimals());
    std::fprintf(out, "file,time,momentary,short_term,integrated\n");
    for (const Measurement& input : inputs) {
        for (const Measurement::Point& point : input.series) {
            std::fprintf(out, "%s,%.*f,%s,%s,%s\n", csvField(input.name).c_str(), decimals,
                         point.seconds, number(point.momentary, 2, "").c_str(),
                         number(point.shortTerm, 2, "").c_str(),
                         number(point.integrated, 2, "").c_str());
        }
    }
}

std::string LoudnessReport::jsonFigures(const Measurement& input) const {
    std::string members;
    for (const Column& column : columns()) {
        if (*column.key) {
            members += (members.empty() ? "\"" : ",\"") + std::string(column.key) +
                       "\":" + column.machine(input, "null", true);
        }
    }
    return members;
}

void LoudnessReport::printJson(const Measurement& input, bool total) const {
    std::fprintf(out, "{\"file\":%s,%s",
                 total ? "null,\"album\":true" : jsonString(input.name).c_str(),
                 jsonFigures(input).c_str());
    if (!input.series.empty()) {
        const int decimals = std::max(3, timeDecimals());
        std::fprintf(out, ",\"series\":[");
        for (const Measurement::Point& point : input.series) {
            std::fprintf(out,
                         "%s{\"time\":%.*f,\"momentary\":%s,\"short_term\":%s,\"integrated\":%s}",
                         &point == &input.series.front() ? "" : ",", decimals, point.seconds,
                         number(point.momentary, 2, "null").c_str(),
                         number(point.shortTerm, 2, "null").c_str(),
                         number(point.integrated, 2, "null").c_str());
        }
        std::fprintf(out, "]");
    }
    std::fprintf(out, "}\n");
}

void LoudnessReport::printSeriesTables(const std::vector<Measurement>& inputs) const {
    const int decimals = timeDecimals();
    for (const Measurement& input : inputs) {
        if (input.series.empty()) {
            continue;
        }
        const int width = 10 + decimals;
        std::fprintf(out, "%s\n%*s %10s %10s %10s\n", input.name.c_str(), width, "time",
                     "momentary", "short-term", "integrated");
        for (const Measurement::Point& point : input.series) {
            std::fprintf(out, "%*s %10s %10s %10s\n", width, clock(point.seconds, decimals).c_str(),
                         number(point.momentary, 1, "---").c_str(),
                         number(point.shortTerm, 1, "---").c_str(),
                         number(point.integrated, 1, "---").c_str());
        }
        std::fprintf(out, "\n");
    }
}

void LoudnessReport::printTable(const std::vector<const Measurement*>& shown) const {
    const std::vector<Column> all = columns();
    std::vector<std::vector<std::string>> rows = {{"file"}, {""}};
    for (const Column& column : all) {
        if (*column.head) {
            rows[0].push_back(column.head);
            rows[1].push_back(column.unit);
        }
    }
    for (const Measurement* input : shown) {
        std::vector<std::string> row = {input->name};
        for (const Column& column : all) {
            if (*column.head) {
                row.push_back(column.table(*input));
            }
        }
        rows.push_back(row);
    }
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const auto& row : rows) {
        std::string line = row[0] + std::string(widths[0] - row[0].size(), ' ');
        for (std::size_t i = 1; i < row.size(); ++i) {
            line += "  " + std::string(widths[i] - row[i].size(), ' ') + row[i];
        }
        std::fprintf(out, "%s\n", line.c_str());
    }
}
