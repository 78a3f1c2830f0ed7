#include "tools/loudness/file_measurement.h"

#include <vector>

#include "tools/common/programme_meter.h"
#include "tools/common/progress_bar.h"
#include "tools/common/sound_file_input.h"
#include "tools/loudness/file_layout.h"

bool measureFile(SoundFileInput& input, const FileLayout& layout, ProgrammeMeter& meter,
                 std::string& error) {
    const int fileChannels = input.channels();
    const int channels = layout.layout().channels();
    std::vector<float> interleaved(
        static_cast<std::size_t>(SoundFileInput::kBlockFrames * fileChannels));
    std::vector<std::vector<float>> planar(static_cast<std::size_t>(channels),
                                           std::vector<float>(SoundFileInput::kBlockFrames));
    std::vector<const float*> block;
    for (const std::vector<float>& channel : planar) {
        block.push_back(channel.data());
    }
    ProgressBar progress(input.frames(), input.sampleRate());
    std::int64_t done = 0;
    for (int got; (got = input.read(interleaved.data(), SoundFileInput::kBlockFrames)) != 0;) {
        if (got < 0) {
            error = input.error();
            return false;
        }
        for (int c = 0; c < channels; ++c) {
            const float* from = interleaved.data() + layout.source(c);
            float* to = planar[static_cast<std::size_t>(c)].data();
            for (int i = 0; i < got; ++i) {
                to[i] = from[static_cast<std::size_t>(i * fileChannels)];
            }
        }
        meter.process(block.data(), static_cast<std::size_t>(got));
        done += got;
        progress.update(done);
    }
    progress.clear();
    return true;
}
