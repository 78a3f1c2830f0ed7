// Which loudspeaker each channel of a file feeds: as the user states it, as the file names
// it (a WAVE_FORMAT_EXTENSIBLE mask, or any channel map libsndfile reads), or the default
// order of its channel count; and a mono file played on two speakers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "loudness/channel_layout.h"

class SoundFileInput;

class FileLayout {
  public:
    /// The layout of `input`: from `stated` (a list such as "L,R,C,LFE,Ls,Rs") when not
    /// empty, else from the file's channel map, else the default of its count; with
    /// `dualMono`, a mono file as the same signal on left and right. Nullopt with the reason
    /// in `error` for a file whose roles are not known or do not match what was stated.
    static std::optional<FileLayout> of(const SoundFileInput& input, const std::string& stated,
                                        bool dualMono, std::string& error);

    const ChannelLayout& layout() const { return roles; }
    /// For reports: "stereo", "5.1", "dual mono".
    const std::string& name() const { return shownName; }
    /// The file's channel each of the meter's channels reads.
    int source(int channel) const { return sources[static_cast<std::size_t>(channel)]; }

  private:
    FileLayout(ChannelLayout roles, std::string shownName, std::vector<int> sources)
        : roles(roles), shownName(std::move(shownName)), sources(std::move(sources)) {}
    /// The roles libsndfile's channel map names, if it names one for every channel.
    static std::optional<ChannelLayout> fromMap(const std::vector<int>& map);

    ChannelLayout roles;
    std::string shownName;
    std::vector<int> sources;
};
