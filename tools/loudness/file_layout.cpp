#include "tools/loudness/file_layout.h"

#include <sndfile.h>

#include <algorithm>
#include <numeric>

#include "tools/common/sound_file_input.h"

std::optional<FileLayout> FileLayout::of(const SoundFileInput& input, const std::string& stated,
                                         bool dualMono, std::string& error) {
    const int channels = input.channels();
    std::vector<int> sources(static_cast<std::size_t>(channels));
    std::iota(sources.begin(), sources.end(), 0);
    if (dualMono) {
        if (channels != 1) {
            error = "--dual-mono: " + input.name() + " has " + std::to_string(channels) +
                    " channels, not one";
            return std::nullopt;
        }
        return FileLayout(*ChannelLayout::standard(2), "dual mono", {0, 0});
    }
    std::optional<ChannelLayout> roles;
    if (!stated.empty()) {
        roles = ChannelLayout::parse(stated, channels, error);
        if (!roles) {
            error = "--channels: " + input.name() + ": " + error;
            return std::nullopt;
        }
    }
    const std::vector<int> map = input.channelMap();
    if (!roles && !map.empty()) {
        roles = fromMap(map);
        if (!roles) {
            error = input.name() + " names channel roles the meter has no weight for: state " +
                    "them with --channels";
            return std::nullopt;
        }
    }
    if (!roles) {
        roles = ChannelLayout::standard(channels);
    }
    if (!roles) {
        error = input.name() + " has " + std::to_string(channels) +
                " channels and names none of their roles: state them with --channels";
        return std::nullopt;
    }
    return FileLayout(*roles, roles->name(), sources);
}

std::optional<ChannelLayout> FileLayout::fromMap(const std::vector<int>& map) {
    if (map.size() == 1) {
        return ChannelLayout::standard(1);  // one channel is mono, wherever it plays
    }
    // Rear surrounds are the surrounds of a layout that has no side ones (5.1 as a
    // WAVE_FORMAT_EXTENSIBLE mask often names them "back"), the rear pair beside side ones.
    const bool sides = std::any_of(map.begin(), map.end(), [](int role) {
        return role == SF_CHANNEL_MAP_SIDE_LEFT || role == SF_CHANNEL_MAP_SIDE_RIGHT;
    });
    std::vector<ChannelRole> roles;
    for (const int role : map) {
        switch (role) {
            case SF_CHANNEL_MAP_MONO:
                roles.push_back(ChannelRole::Mono);
                break;
            case SF_CHANNEL_MAP_LEFT:
            case SF_CHANNEL_MAP_FRONT_LEFT:
                roles.push_back(ChannelRole::Left);
                break;
            case SF_CHANNEL_MAP_RIGHT:
            case SF_CHANNEL_MAP_FRONT_RIGHT:
                roles.push_back(ChannelRole::Right);
                break;
            case SF_CHANNEL_MAP_CENTER:
            case SF_CHANNEL_MAP_FRONT_CENTER:
                roles.push_back(ChannelRole::Centre);
                break;
            case SF_CHANNEL_MAP_LFE:
                roles.push_back(ChannelRole::Lfe);
                break;
            case SF_CHANNEL_MAP_SIDE_LEFT:
                roles.push_back(ChannelRole::LeftSurround);
                break;
            case SF_CHANNEL_MAP_SIDE_RIGHT:
                roles.push_back(ChannelRole::RightSurround);
                break;
            case SF_CHANNEL_MAP_REAR_LEFT:
                roles.push_back(sides ? ChannelRole::LeftRearSurround : ChannelRole::LeftSurround);
                break;
            case SF_CHANNEL_MAP_REAR_RIGHT:
                roles.push_back(sides ? ChannelRole::RightRearSurround
                                      : ChannelRole::RightSurround);
                break;
            default:
                return std::nullopt;  // a role the meter has no weight for
        }
    }
    return ChannelLayout::of(roles);
}
