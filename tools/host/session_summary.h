// The end of every pevo-host summary, whichever plug-in it hosts: whether the audio passed
// through unchanged, the file written, and the loudness of the plug-in's output.
#pragma once

#include <cstdio>
#include <string>

#include "tools/common/measurement.h"
#include "tools/host/command_line.h"
#include "tools/host/session_report.h"

namespace session_summary {

/// The "Audio" and "Written" lines, then the loudness table if `loudness` is given; in CSV
/// the lines go to `notes` and the table, after an empty line, to `out`.
void print(ReportFormat format, const PassThrough& passThrough, const WrittenFile& written,
           const Measurement* loudness, std::FILE* out, std::FILE* notes);
/// The same as members of a JSON object, each after a comma.
std::string jsonMembers(const PassThrough& passThrough, const WrittenFile& written,
                        const Measurement* loudness);

}  // namespace session_summary
