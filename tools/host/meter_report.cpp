#include "tools/host/meter_report.h"

#include <charconv>
#include <cmath>

#include "tools/common/report_text.h"
#include "tools/host/session_summary.h"

namespace {

constexpr float kFloor = -40.0f;
constexpr float kTop = -0.005f;          ///< readings above print as 0.00: the scale's end
constexpr std::size_t kGroupWidth = 23;  ///< three columns of seven and their spaces

/// A reading for the table: two decimals, the floor as "<-40", no "-0.00".
std::string tableNumber(float dBFS) {
    if (dBFS <= kFloor) {
        return "   <-40";
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%7.2f", dBFS > kTop ? 0.0f : dBFS);
    return text;
}

/// A channel's name centred over its three columns.
std::string groupHead(const std::string& name) {
    const std::string title = " " + name + " ";
    const std::size_t dashes = kGroupWidth - title.size();
    return std::string(dashes / 2, '-') + title + std::string(dashes - dashes / 2, '-');
}

std::string timeText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.6f", seconds);
    return text;
}

/// A sample's magnitude in dBFS, in double precision.
double decibels(float magnitude) {
    return 20.0 * std::log10(static_cast<double>(magnitude));
}

std::string exactDouble(double value) {
    char text[40];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

/// "[a,b]" of what `field` gives for each input channel.
template <typename Field>
std::string jsonArray(const SamplePeaks& peaks, Field field) {
    std::string text = "[";
    for (int c = 0; c < peaks.channels(); ++c) {
        text += (c == 0 ? "" : ",") + field(peaks.channel(c));
    }
    return text + "]";
}

const char* inputChannelName(const SamplePeaks& peaks, int channel) {
    return peaks.channels() == 1 ? "mono" : (channel == 0 ? "left" : "right");
}

}  // namespace

std::string exactNumber(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

void MeterReport::begin(const AudioSource& source, int blockFrames, const std::string& interval) {
    inputName = source.name();
    sampleRate = source.sampleRate();
    inputChannels = source.channels();
    if (format == ReportFormat::kCsv) {
        std::fprintf(out, "time_s,ch0_rms,ch0_peak,ch0_hold,ch1_rms,ch1_peak,ch1_hold\n");
        return;
    }
    if (format == ReportFormat::kJson) {
        return;
    }
    std::fprintf(
        out,
        "\nMetering %s: %s\nin %d-frame blocks, channels %s, readings every %s, in "
        "dBFS; <-40: at or below the\nfloor; over: a sample at or above full scale. %s\n\n",
        inputName.c_str(), source.describe().c_str(), blockFrames, modeName(mode), interval.c_str(),
        sineRms ? "RMS is sine-referenced: a sine reads its\npeak level, 3.01 dB above "
                  "its plain RMS (--set \"RMS Mode=1\" gives the plain RMS)"
                : "RMS is plain (RMS Mode set)");
    std::fprintf(out, "  %8s   %s   %s\n  %8s   %7s %7s %7s   %7s %7s %7s\n", "",
                 groupHead(channelName(mode, 0)).c_str(), groupHead(channelName(mode, 1)).c_str(),
                 "time s", "RMS", "peak", "hold", "RMS", "peak", "hold");
}

void MeterReport::track(double seconds) {
    pair.readings(latest);
    for (int c = 0; c < 2; ++c) {
        Highest& h = highest[c];
        if (!tracked || latest[c].peak > h.peak) {
            h.peak = latest[c].peak;
            h.peakTime = seconds;
        }
        if (!tracked || latest[c].rms > h.rms) {
            h.rms = latest[c].rms;
            h.rmsTime = seconds;
        }
    }
    tracked = true;
}

bool MeterReport::feeds(int input, int meter) const {
    return mode != MeterMode::kLeftRight || inputChannels == 1 || input == meter;
}

std::string MeterReport::tableColumns(const ChannelReadings& channel, bool over) const {
    return tableNumber(channel.rms) + " " +
           (over && channel.peak > kTop ? "   over" : tableNumber(channel.peak)) + " " +
           (holdOff ? "    off" : tableNumber(channel.hold));
}

void MeterReport::interval(double seconds, const bool inputOver[2]) {
    const ChannelReadings& a = latest[0];
    const ChannelReadings& b = latest[1];
    if (format == ReportFormat::kTable) {
        bool over[2] = {false, false};
        for (int c = 0; c < 2; ++c) {
            over[c] = (inputOver[0] && feeds(0, c)) || (inputOver[1] && feeds(1, c));
        }
        std::fprintf(out, "  %8.3f   %s   %s\n", seconds, tableColumns(a, over[0]).c_str(),
                     tableColumns(b, over[1]).c_str());
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

std::string MeterReport::highestText(int channel, float overPeak) const {
    const Highest& h = highest[channel];
    const auto reading = [](float dBFS, double seconds) {
        char text[64];
        std::snprintf(text, sizeof(text), dBFS > kFloor ? "%s dBFS by %.3f s" : "%s dBFS",
                      tableNumber(dBFS).c_str(), seconds);
        return std::string(text);
    };
    std::string peak = reading(h.peak, h.peakTime);
    if (overPeak > 0.0f && h.peak > kTop) {
        char text[80];
        std::snprintf(text, sizeof(text), "   over (sample peak %+.2f dBFS) by %.3f s",
                      decibels(overPeak), h.peakTime);
        peak = text;
    }
    return "peak " + peak + ",  RMS " + reading(h.rms, h.rmsTime);
}

std::string MeterReport::samplePeakText(const SamplePeaks& peaks, int channel) const {
    const SamplePeaks::Channel& c = peaks.channel(channel);
    if (c.peak == 0.0f) {
        return "silent";
    }
    char text[128];
    std::snprintf(text, sizeof(text), "%+.2f dBFS%s at %.6f s (frame %lld),  ", decibels(c.peak),
                  c.peak > 1.0f ? " (over)" : "", static_cast<double>(c.peakFrame) / sampleRate,
                  static_cast<long long>(c.peakFrame));
    const std::string overs = c.overs == 0   ? "no sample"
                              : c.overs == 1 ? "1 sample"
                                             : std::to_string(c.overs) + " samples";
    return text + overs + " at or above full scale";
}

void MeterReport::finish(const PassThrough& passThrough, const SamplePeaks& peaks,
                         const WrittenFile& written, const Measurement* loudness) {
    if (format == ReportFormat::kJson) {
        finishJson(passThrough, peaks, written, loudness);
        return;
    }
    std::FILE* to = format == ReportFormat::kCsv ? notes : out;
    if (passThrough.frames == 0) {
        std::fprintf(to, "\n%s: no audio\n", inputName.c_str());
        return;
    }
    std::fprintf(to, "\nHighest readings, by the end of the block that brought them\n");
    for (int c = 0; c < 2; ++c) {
        float overPeak = 0.0f;  // the largest sample at or above full scale feeding c
        for (int input = 0; input < peaks.channels(); ++input) {
            const SamplePeaks::Channel& in = peaks.channel(input);
            overPeak = feeds(input, c) && in.overs > 0 && in.peak > overPeak ? in.peak : overPeak;
        }
        std::fprintf(to, "  %-5s  %s\n", channelName(mode, c), highestText(c, overPeak).c_str());
    }
    std::fprintf(to, "Sample peaks of the input, exact\n");
    for (int c = 0; c < peaks.channels(); ++c) {
        std::fprintf(to, "  %-5s  %s\n", inputChannelName(peaks, c),
                     samplePeakText(peaks, c).c_str());
    }
    session_summary::print(format, passThrough, written, loudness, out, notes);
}

void MeterReport::finishJson(const PassThrough& passThrough, const SamplePeaks& peaks,
                             const WrittenFile& written, const Measurement* loudness) {
    std::string fields = "{\"summary\":true,\"input\":" + report_text::jsonString(inputName) +
                         ",\"mode\":\"" + modeName(mode) +
                         "\",\"frames\":" + std::to_string(passThrough.frames);
    const bool audio = passThrough.frames > 0;
    const auto reading = [audio](float dBFS) { return audio ? exactNumber(dBFS) : "null"; };
    const auto time = [audio](float dBFS, double seconds) {
        return audio && dBFS > kFloor ? timeText(seconds) : "null";
    };
    for (int c = 0; c < 2; ++c) {
        const Highest& h = highest[c];
        const std::string key = ",\"ch" + std::to_string(c) + "_";
        fields += key + "name\":\"" + channelName(mode, c) + "\"" + key +
                  "max_peak\":" + reading(h.peak) + key +
                  "max_peak_time_s\":" + time(h.peak, h.peakTime) + key +
                  "max_rms\":" + reading(h.rms) + key +
                  "max_rms_time_s\":" + time(h.rms, h.rmsTime);
    }
    const double rate = sampleRate;
    fields += ",\"input_sample_peak\":" + jsonArray(peaks, [](const SamplePeaks::Channel& c) {
                  return c.peak > 0.0f ? exactDouble(decibels(c.peak)) : "null";
              });
    fields +=
        ",\"input_sample_peak_time_s\":" + jsonArray(peaks, [rate](const SamplePeaks::Channel& c) {
            return c.peak > 0.0f ? timeText(c.peakFrame / rate) : "null";
        });
    fields += ",\"input_overs\":" + jsonArray(peaks, [](const SamplePeaks::Channel& c) {
                  return std::to_string(c.overs);
              });
    fields += session_summary::jsonMembers(passThrough, written, loudness);
    std::fprintf(out, "%s}\n", fields.c_str());
}
