#include "tools/host/session_summary.h"

#include "tools/common/loudness_report.h"
#include "tools/common/report_text.h"

namespace {

std::string passThroughText(const PassThrough& passThrough) {
    if (passThrough.differingFrames == 0) {
        return "the plug-in's output equals its input in all " +
               std::to_string(passThrough.frames) + " frames";
    }
    return "the plug-in's output differs from its input in " +
           std::to_string(passThrough.differingFrames) + " of " +
           std::to_string(passThrough.frames) + " frames, first at frame " +
           std::to_string(passThrough.firstDifference);
}

void printWritten(const WrittenFile& written, std::FILE* to) {
    const FileComparison& check = written.comparison;
    std::fprintf(to, "Written  %s (%s): ", written.path.c_str(), written.format.c_str());
    if (check.differingSamples == 0) {
        std::fprintf(to, "equals the input in all %lld frames\n",
                     static_cast<long long>(check.frames));
    } else {
        std::fprintf(to, "differs from the input in %lld samples, first at frame %lld\n",
                     static_cast<long long>(check.differingSamples),
                     static_cast<long long>(check.firstDifference));
    }
}

}  // namespace

void session_summary::print(ReportFormat format, const PassThrough& passThrough,
                            const WrittenFile& written, const Measurement* loudness, std::FILE* out,
                            std::FILE* notes) {
    std::FILE* to = format == ReportFormat::kCsv ? notes : out;
    std::fprintf(to, "Audio  %s\n", passThroughText(passThrough).c_str());
    if (!written.path.empty()) {
        printWritten(written, to);
    }
    if (loudness) {
        std::fprintf(out, format == ReportFormat::kTable
                              ? "Loudness of the plug-in's output, as pevo-loudness measures it\n"
                              : "\n");
        LoudnessReport(format, {}, out).print({*loudness}, nullptr);
    }
}

std::string session_summary::jsonMembers(const PassThrough& passThrough, const WrittenFile& written,
                                         const Measurement* loudness) {
    std::string fields = ",\"output_equals_input\":";
    fields += passThrough.differingFrames == 0 ? "true" : "false";
    fields += ",\"differing_frames\":" + std::to_string(passThrough.differingFrames);
    if (!written.path.empty()) {
        fields +=
            ",\"output\":" + report_text::jsonString(written.path) + ",\"output_format\":\"" +
            written.format + "\",\"written_equals_input\":" +
            (written.comparison.differingSamples == 0 ? "true" : "false") +
            ",\"written_differing_samples\":" + std::to_string(written.comparison.differingSamples);
    }
    if (loudness) {
        fields += ",\"loudness\":{" +
                  LoudnessReport(ReportFormat::kJson, {}, nullptr).jsonFigures(*loudness) + "}";
    }
    return fields;
}
