#include "tools/host/meter_report.h"

#include <charconv>

namespace {

constexpr float kFloor = -40.0f;
constexpr std::size_t kGroupWidth = 23;  ///< three columns of seven and their spaces

/// A reading for the table: two decimals, the floor as "<-40", no "-0.00".
std::string tableNumber(float dBFS) {
    if (dBFS <= kFloor) {
        return "   <-40";
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%7.2f", dBFS > -0.005f ? 0.0f : dBFS);
    return text;
}

/// A channel's name centred over its three columns.
std::string groupHead(const std::string& name) {
    const std::string title = " " + name + " ";
    const std::size_t dashes = kGroupWidth - title.size();
    return std::string(dashes / 2, '-') + title + std::string(dashes - dashes / 2, '-');
}

std::string tableColumns(const ChannelReadings& channel) {
    return tableNumber(channel.rms) + " " + tableNumber(channel.peak) + " " +
           tableNumber(channel.hold);
}

std::string timeText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.6f", seconds);
    return text;
}

std::string jsonEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            escaped += '\\';
            escaped += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof(code), "\\u%04x", c);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace

std::string exactNumber(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

void MeterReport::begin(const std::string& source, int blockFrames, const std::string& interval) {
    if (format == ReportFormat::kCsv) {
        std::fprintf(out, "time_s,ch0_rms,ch0_peak,ch0_hold,ch1_rms,ch1_peak,ch1_hold\n");
        return;
    }
    if (format == ReportFormat::kJson) {
        return;
    }
    std::fprintf(out,
                 "\nMetering %s\nin %d-frame blocks, channels %s, readings every %s, in dBFS "
                 "(<-40: at or below the floor)\n\n",
                 source.c_str(), blockFrames, modeName(mode), interval.c_str());
    std::fprintf(out, "  %8s   %s   %s\n  %8s   %7s %7s %7s   %7s %7s %7s\n", "",
                 groupHead(channelName(mode, 0)).c_str(), groupHead(channelName(mode, 1)).c_str(),
                 "time s", "RMS", "peak", "hold", "RMS", "peak", "hold");
}

void MeterReport::track(double seconds, const ChannelReadings readings[2]) {
    for (int c = 0; c < 2; ++c) {
        Highest& h = highest[c];
        if (!tracked || readings[c].peak > h.peak) {
            h.peak = readings[c].peak;
            h.peakTime = seconds;
        }
        if (!tracked || readings[c].rms > h.rms) {
            h.rms = readings[c].rms;
            h.rmsTime = seconds;
        }
    }
    tracked = true;
}

void MeterReport::interval(double seconds, const ChannelReadings readings[2]) {
    const ChannelReadings& a = readings[0];
    const ChannelReadings& b = readings[1];
    if (format == ReportFormat::kTable) {
        std::fprintf(out, "  %8.3f   %s   %s\n", seconds, tableColumns(a).c_str(),
                     tableColumns(b).c_str());
    } else if (format == ReportFormat::kCsv) {
        std::fprintf(out, "%s,%s,%s,%s,%s,%s,%s\n", timeText(seconds).c_str(),
                     exactNumber(a.rms).c_str(), exactNumber(a.peak).c_str(),
                     exactNumber(a.hold).c_str(), exactNumber(b.rms).c_str(),
                     exactNumber(b.peak).c_str(), exactNumber(b.hold).c_str());
    } else {
        std::fprintf(out,
                     "{\"time_s\":%s,\"ch0_rms\":%s,\"ch0_peak\":%s,\"ch0_hold\":%s,"
                     "\"ch1_rms\":%s,\"ch1_peak\":%s,\"ch1_hold\":%s}\n",
                     timeText(seconds).c_str(), exactNumber(a.rms).c_str(),
                     exactNumber(a.peak).c_str(), exactNumber(a.hold).c_str(),
                     exactNumber(b.rms).c_str(), exactNumber(b.peak).c_str(),
                     exactNumber(b.hold).c_str());
    }
}

std::string MeterReport::passThroughText(const PassThrough& passThrough) const {
    const std::string what =
        passThrough.outputPath.empty() ? "" : "written to " + passThrough.outputPath + "; ";
    if (passThrough.differingFrames == 0) {
        return what + "the plug-in's output equals its input in all " +
               std::to_string(passThrough.frames) + " frames";
    }
    return what + "the plug-in's output differs from its input in " +
           std::to_string(passThrough.differingFrames) + " of " +
           std::to_string(passThrough.frames) + " frames, first at frame " +
           std::to_string(passThrough.firstDifference);
}

void MeterReport::finish(const PassThrough& passThrough) {
    if (format == ReportFormat::kJson) {
        finishJson(passThrough);
        return;
    }
    std::FILE* to = format == ReportFormat::kCsv ? notes : out;
    std::fprintf(to, "\nHighest readings\n");
    for (int c = 0; c < 2; ++c) {
        const Highest& h = highest[c];
        std::fprintf(to, "  %-5s  peak %s dBFS at %.3f s,  RMS %s dBFS at %.3f s\n",
                     channelName(mode, c), tableNumber(h.peak).c_str(), h.peakTime,
                     tableNumber(h.rms).c_str(), h.rmsTime);
    }
    std::fprintf(to, "Audio  %s\n", passThroughText(passThrough).c_str());
}

void MeterReport::finishJson(const PassThrough& passThrough) {
    std::string fields = "{\"summary\":true,\"mode\":\"" + std::string(modeName(mode)) +
                         "\",\"frames\":" + std::to_string(passThrough.frames);
    for (int c = 0; c < 2; ++c) {
        const Highest& h = highest[c];
        const std::string key = ",\"ch" + std::to_string(c) + "_";
        fields += key + "name\":\"" + channelName(mode, c) + "\"" + key +
                  "max_peak\":" + exactNumber(h.peak) + key +
                  "max_peak_time_s\":" + timeText(h.peakTime) + key +
                  "max_rms\":" + exactNumber(h.rms) + key +
                  "max_rms_time_s\":" + timeText(h.rmsTime);
    }
    fields += ",\"output_equals_input\":";
    fields += passThrough.differingFrames == 0 ? "true" : "false";
    fields += ",\"differing_frames\":" + std::to_string(passThrough.differingFrames);
    if (!passThrough.outputPath.empty()) {
        fields += ",\"output\":\"" + jsonEscaped(passThrough.outputPath) + "\"";
    }
    std::fprintf(out, "%s}\n", fields.c_str());
}
