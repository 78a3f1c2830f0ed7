// One input read whole and fed to a meter, each of the meter's channels from the file's
// channel its layout names.
#pragma once

#include <string>

class FileLayout;
class ProgrammeMeter;
class SoundFileInput;

/// Feeds the whole of `input` to `meter`, set up for `layout`, drawing a progress bar on a
/// terminal for long inputs. False with the reason in `error` when the decoder fails
/// part-way.
bool measureFile(SoundFileInput& input, const FileLayout& layout, ProgrammeMeter& meter,
                 std::string& error);
