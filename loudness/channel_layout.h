// Which loudspeaker each channel of a programme feeds, and how much each counts for its
// loudness: 1.0 for left, right and centre, 1.41 (+1.5 dB) for the surrounds beside the
// listener, 1.0 for those behind (beyond 120 degrees), nothing for the LFE.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ChannelRole {
    Mono,
    Left,
    Right,
    Centre,
    Lfe,
    LeftSurround,  ///< beside the listener, 90 to 110 degrees (7.1: side surround)
    RightSurround,
    LeftRearSurround,  ///< behind the listener, 135 to 150 degrees (7.1 only)
    RightRearSurround,
};

class ChannelLayout {
  public:
    static constexpr int kMaxChannels = 8;
    static constexpr double kSurroundWeight = 1.41;

    /// How users write a role: "M", "L", "R", "C", "LFE", "Ls", "Rs", "Lrs", "Rrs".
    static const char* shortName(ChannelRole role);
    /// The factor on a channel's mean square in the sum of loudness; 0 for the LFE.
    static double weightOf(ChannelRole role);
    /// The role a user's name stands for, whatever its case ("Lb" and "Rb" also name the
    /// rear surrounds, "Lss" and "Rss" the side ones); nullopt for any other name.
    static std::optional<ChannelRole> roleNamed(std::string_view name);

    /// The layout of a programme of `channels` channels that names none: mono, stereo,
    /// 5.0 (L R C Ls Rs), 5.1 (L R C LFE Ls Rs) or 7.1 (L R C LFE Ls Rs Lrs Rrs); nullopt
    /// for other counts.
    static std::optional<ChannelLayout> standard(int channels);
    /// Channels in the order given, each role at most once, 1 to kMaxChannels of them;
    /// nullopt otherwise.
    static std::optional<ChannelLayout> of(const std::vector<ChannelRole>& roles);
    /// A user's comma-separated list of roles ("L,R,C,LFE,Ls,Rs") for a programme of
    /// `channels` channels. On an unknown or repeated name, or a count that does not
    /// match, nullopt and `error` says what is wrong.
    static std::optional<ChannelLayout> parse(std::string_view list, int channels,
                                              std::string& error);

    int channels() const { return count; }
    ChannelRole role(int channel) const { return roles[static_cast<std::size_t>(channel)]; }
    double weight(int channel) const { return weightOf(role(channel)); }
    /// For reports: "mono", "stereo", else full-range channels "." LFE channels ("5.1").
    std::string name() const;
    /// The roles in channel order, as parse reads them: "L,R,C,LFE,Ls,Rs".
    std::string list() const;

    bool operator==(const ChannelLayout& other) const;
    bool operator!=(const ChannelLayout& other) const { return !(*this == other); }

  private:
    ChannelLayout() = default;

    std::array<ChannelRole, kMaxChannels> roles{};
    int count = 0;
};
