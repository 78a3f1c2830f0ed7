#include "tools/loudness/file_measurement.h"

#include <vector>

#include "tools/common/programme_meter.h"
#include "tools/common/progress_bar.h"
#include "tools/common/sound_file_input.h"
#include "tools/loudness/file_layout.h"

bool measureFile(SoundFileInput& input, const FileLayout& layout, ProgrammeMeter& meter,
                 std::string& error) {
    const int channels = layout.layout().channels();
    std::vector<std::vector<float>> planar(static_cast<std::size_t>(channels),
                                           std::vector<float>(SoundFileInput::kBlockFrames));
    std::vector<float*> block;
    std::vector<int> sources;
    for (std::vector<float>& channel : planar) {
        sources.push_back(layout.source(static_cast<int>(block.size())));
        block.push_back(channel.data());
    }
    ProgressBar progress(input.frames(), input.sampleRate());
    std::int64_t done = 0;
    for (int got; (got = input.readChannels(block.data(), sources.data(), channels,
                                            SoundFileInput::kBlockFrames)) != 0;) {
        if (got < 0) {
            error = input.error();
            return false;
        }
        meter.process(block.data(), static_cast<std::size_t>(got));
        done += got;
        progress.update(done);
    }
    progress.clear();
    return true;
}
