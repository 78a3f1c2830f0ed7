#include "tools/common/loudness_report.h"

#include <algorithm>
#include <cmath>

#include "tools/common/report_text.h"

namespace {

using report_text::csvField;
using report_text::jsonString;
using report_text::number;

std::string clock(double seconds) {
    const long tenths = std::lround(seconds * 10.0);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld.%ld", tenths / 36000, tenths / 600 % 60,
                  tenths / 10 % 60, tenths % 10);
    return text;
}

}  // namespace

LoudnessReport::LoudnessReport(Format format, std::optional<double> target, std::FILE* out)
    : format(format), target(target), out(out) {}

std::vector<std::string> LoudnessReport::columns() const {
    std::vector<std::string> names = {"integrated",     "range",     "max_momentary",
                                      "max_short_term", "true_peak", "sample_peak",
                                      "duration"};
    if (target) {
        names.insert(names.end(), {"target", "gain", "true_peak_after_gain"});
    }
    return names;
}

std::vector<double> LoudnessReport::figures(const Measurement& input) const {
    std::vector<double> values = {input.integrated,   input.range,    input.maxMomentary,
                                  input.maxShortTerm, input.truePeak, input.samplePeak,
                                  input.seconds};
    if (target) {
        const double gain = *target - input.integrated;
        values.insert(values.end(), {*target, gain, input.truePeak + gain});
    }
    return values;
}

void LoudnessReport::print(const std::vector<Measurement>& inputs, const Measurement* total) const {
    if (format == Format::kTable) {
        printTable(inputs, inputs.size() > 1 ? total : nullptr);
    } else if (format == Format::kCsv) {
        printCsv(inputs);
    } else {
        for (const Measurement& input : inputs) {
            printJson(input);
        }
    }
    std::fflush(out);
}

void LoudnessReport::printCsv(const std::vector<Measurement>& inputs) const {
    std::fprintf(out, "file");
    for (const std::string& column : columns()) {
        std::fprintf(out, ",%s", column.c_str());
    }
    std::fprintf(out, "\n");
    for (const Measurement& input : inputs) {
        std::fprintf(out, "%s", csvField(input.name).c_str());
        for (const double value : figures(input)) {
            std::fprintf(out, ",%s", number(value, 2, "").c_str());
        }
        std::fprintf(out, "\n");
    }
    if (std::none_of(inputs.begin(), inputs.end(),
                     [](const Measurement& input) { return !input.series.empty(); })) {
        return;
    }
    // The series as a second table, after an empty line.
    std::fprintf(out, "\nfile,time,momentary,short_term,integrated\n");
    for (const Measurement& input : inputs) {
        for (const Measurement::Point& point : input.series) {
            std::fprintf(out, "%s,%.3f,%s,%s,%s\n", csvField(input.name).c_str(), point.seconds,
                         number(point.momentary, 2, "").c_str(),
                         number(point.shortTerm, 2, "").c_str(),
                         number(point.integrated, 2, "").c_str());
        }
    }
}

std::string LoudnessReport::jsonFigures(const Measurement& input) const {
    const std::vector<std::string> names = columns();
    const std::vector<double> values = figures(input);
    std::string members;
    for (std::size_t i = 0; i < names.size(); ++i) {
        members += (i == 0 ? "\"" : ",\"") + names[i] + "\":" + number(values[i], 2, "null");
    }
    return members;
}

void LoudnessReport::printJson(const Measurement& input) const {
    std::fprintf(out, "{\"file\":%s,%s", jsonString(input.name).c_str(),
                 jsonFigures(input).c_str());
    if (!input.series.empty()) {
        std::fprintf(out, ",\"series\":[");
        for (const Measurement::Point& point : input.series) {
            std::fprintf(out,
                         "%s{\"time\":%.3f,\"momentary\":%s,\"short_term\":%s,\"integrated\":%s}",
                         &point == &input.series.front() ? "" : ",", point.seconds,
                         number(point.momentary, 2, "null").c_str(),
                         number(point.shortTerm, 2, "null").c_str(),
                         number(point.integrated, 2, "null").c_str());
        }
        std::fprintf(out, "]");
    }
    std::fprintf(out, "}\n");
}

void LoudnessReport::printTable(const std::vector<Measurement>& inputs,
                                const Measurement* total) const {
    for (const Measurement& input : inputs) {
        if (input.series.empty()) {
            continue;
        }
        std::fprintf(out, "%s\n%12s %10s %10s %10s\n", input.name.c_str(), "time", "momentary",
                     "short-term", "integrated");
        for (const Measurement::Point& point : input.series) {
            std::fprintf(out, "%12s %10s %10s %10s\n", clock(point.seconds).c_str(),
                         number(point.momentary, 1, "---").c_str(),
                         number(point.shortTerm, 1, "---").c_str(),
                         number(point.integrated, 1, "---").c_str());
        }
        std::fprintf(out, "\n");
    }
    std::vector<std::vector<std::string>> rows = {
        {"file", "integrated", "range", "max M", "max S", "true peak", "per channel", "sample peak",
         "duration"},
        {"", "LUFS", "LU", "LUFS", "LUFS", "dBTP", "dBTP", "dBFS", "h:mm:ss"}};
    if (target) {
        rows[0].insert(rows[0].end(), {"gain", "peak after"});
        rows[1].insert(rows[1].end(), {"dB", "dBTP"});
    }
    std::vector<const Measurement*> shown;
    for (const Measurement& input : inputs) {
        shown.push_back(&input);
    }
    if (total) {
        shown.push_back(total);
    }
    for (const Measurement* input : shown) {
        const std::vector<double> values = figures(*input);
        std::vector<std::string> row = {input->name};
        for (std::size_t i = 0; i < 6; ++i) {
            row.push_back(number(values[i], 1, "---"));
        }
        std::string perChannel;
        for (const double peak : input->channelTruePeaks) {
            perChannel += (perChannel.empty() ? "" : " / ") + number(peak, 1, "---");
        }
        row.insert(row.begin() + 6, perChannel.empty() ? "---" : perChannel);
        row.push_back(clock(input->seconds));
        if (target) {
            row.push_back(number(values[8], 1, "---"));
            row.push_back(number(values[9], 1, "---"));
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
        std::fprintf(out, "%-*s", static_cast<int>(widths[0]), row[0].c_str());
        for (std::size_t i = 1; i < row.size(); ++i) {
            std::fprintf(out, "  %*s", static_cast<int>(widths[i]), row[i].c_str());
        }
        std::fprintf(out, "\n");
    }
}
