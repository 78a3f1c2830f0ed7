#include "tools/host/published_report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "tools/common/report_text.h"
#include "tools/host/session_summary.h"

namespace {

/// The smallest width of a table column: room for "-100.0".
constexpr int kNarrowest = 6;

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// Letters and digits in lower case, every other run of characters as one '_'.
std::string keyOf(const std::string& name, const std::string& label) {
    std::string key;
    for (const char c : name + " " + label) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!key.empty() && key.back() != '_') {
            key += '_';
        }
    }
    if (!key.empty() && key.back() == '_') {
        key.pop_back();
    }
    return key;
}

/// Whether `text` is a finite number and nothing else.
bool isNumber(const std::string& text) {
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(number);
}

}  // namespace

std::vector<VstInt32> PublishedReport::readingsOf(HostedPlugin& plugin) {
    std::vector<VstInt32> readings;
    for (VstInt32 index = 0; index < plugin.record().numParams; ++index) {
        if (plugin.dispatch(effCanBeAutomated, index) == 0) {
            readings.push_back(index);
        }
    }
    return readings;
}

PublishedReport::PublishedReport(ReportFormat format, HostedPlugin& plugin, std::FILE* out,
                                 std::FILE* notes)
    : format(format), plugin(plugin), out(out), notes(notes) {
    for (VstInt32 index : readingsOf(plugin)) {
        Reading reading{index, trimmed(plugin.parameterName(index)),
                        trimmed(plugin.parameterLabel(index)), "", 0};
        reading.key = keyOf(reading.name, reading.label);
        reading.width = static_cast<int>(
            std::max({reading.name.size(), reading.label.size(), std::size_t{kNarrowest}}));
        readings.push_back(reading);
    }
}

void PublishedReport::begin(const AudioSource& source, int blockFrames,
                            const std::string& interval) {
    inputName = source.name();
    if (format == ReportFormat::kCsv) {
        std::fprintf(out, "time_s");
        for (const Reading& reading : readings) {
            std::fprintf(out, ",%s", reading.key.c_str());
        }
        std::fprintf(out, "\n");
        return;
    }
    if (format == ReportFormat::kJson) {
        return;
    }
    std::fprintf(out,
                 "\nMetering %s: %s\nin %d-frame blocks, readings every %s, as the plug-in "
                 "shows them\n\n",
                 inputName.c_str(), source.describe().c_str(), blockFrames, interval.c_str());
    std::string names = "          ";
    std::string labels = "    time s";
    for (const Reading& reading : readings) {
        char column[64];
        std::snprintf(column, sizeof(column), "  %*s", reading.width, reading.name.c_str());
        names += column;
        std::snprintf(column, sizeof(column), "  %*s", reading.width, reading.label.c_str());
        labels += column;
    }
    std::fprintf(out, "%s\n%s\n", names.c_str(), labels.c_str());
}

std::string PublishedReport::machineText(const Reading& reading, bool json) {
    const std::string text = trimmed(plugin.parameterDisplay(reading.index));
    if (isNumber(text)) {
        return text;
    }
    if (text == "-inf" || text.empty()) {
        return json ? "null" : "";
    }
    return json ? report_text::jsonString(text) : report_text::csvField(text);
}

void PublishedReport::interval(double seconds, const bool /*inputOver*/[2]) {
    char time[32];
    std::snprintf(time, sizeof(time), "%.6f", seconds);
    std::string line;
    if (format == ReportFormat::kTable) {
        std::snprintf(time, sizeof(time), "  %8.3f", seconds);
        line = time;
        for (const Reading& reading : readings) {
            char column[64];
            std::snprintf(column, sizeof(column), "  %*s", reading.width,
                          trimmed(plugin.parameterDisplay(reading.index)).c_str());
            line += column;
        }
    } else if (format == ReportFormat::kCsv) {
        line = time;
        for (const Reading& reading : readings) {
            line += "," + machineText(reading, false);
        }
    } else {
        line = "{\"time_s\":" + std::string(time);
        for (const Reading& reading : readings) {
            line += ",\"" + reading.key + "\":" + machineText(reading, true);
        }
        line += "}";
    }
    std::fprintf(out, "%s\n", line.c_str());
}

void PublishedReport::printLast(std::FILE* to) {
    std::size_t width = 0;
    for (const Reading& reading : readings) {
        width = std::max(width, reading.name.size());
    }
    std::fprintf(to, "\nReadings of %s after %.1f s:\n", inputName.c_str(), lastSeconds);
    for (const Reading& reading : readings) {
        std::fprintf(to, "  %-*s  %8s %s\n", static_cast<int>(width), reading.name.c_str(),
                     trimmed(plugin.parameterDisplay(reading.index)).c_str(),
                     reading.label.c_str());
    }
}

void PublishedReport::finish(const PassThrough& passThrough, const SamplePeaks& /*peaks*/,
                             const WrittenFile& written, const Measurement* loudness) {
    if (format == ReportFormat::kJson) {
        std::string fields = "{\"summary\":true,\"input\":" + report_text::jsonString(inputName) +
                             ",\"frames\":" + std::to_string(passThrough.frames);
        for (const Reading& reading : readings) {
            fields += ",\"" + reading.key + "\":" + machineText(reading, true);
        }
        fields += session_summary::jsonMembers(passThrough, written, loudness);
        std::fprintf(out, "%s}\n", fields.c_str());
        return;
    }
    printLast(format == ReportFormat::kCsv ? notes : out);
    session_summary::print(format, passThrough, written, loudness, out, notes);
}
