#include "loudness/channel_layout.h"

#include <algorithm>
#include <cctype>

namespace {

struct RoleName {
    ChannelRole role;
    const char* name;
};

/// Every role under its own name first, then the other names users give it.
constexpr RoleName kRoleNames[] = {
    {ChannelRole::Mono, "M"},
    {ChannelRole::Left, "L"},
    {ChannelRole::Right, "R"},
    {ChannelRole::Centre, "C"},
    {ChannelRole::Lfe, "LFE"},
    {ChannelRole::LeftSurround, "Ls"},
    {ChannelRole::RightSurround, "Rs"},
    {ChannelRole::LeftRearSurround, "Lrs"},
    {ChannelRole::RightRearSurround, "Rrs"},
    {ChannelRole::LeftSurround, "Lss"},
    {ChannelRole::RightSurround, "Rss"},
    {ChannelRole::LeftRearSurround, "Lb"},
    {ChannelRole::RightRearSurround, "Rb"},
};
/// The roles that have a name of their own: the first entries of kRoleNames.
constexpr std::size_t kRoles = 9;

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string knownNames() {
    std::string names;
    for (std::size_t i = 0; i < kRoles; ++i) {
        names += (i ? ", " : "") + std::string(kRoleNames[i].name);
    }
    return names;
}

}  // namespace

const char* ChannelLayout::shortName(ChannelRole role) {
    for (std::size_t i = 0; i < kRoles; ++i) {
        if (kRoleNames[i].role == role) {
            return kRoleNames[i].name;
        }
    }
    return "?";
}

double ChannelLayout::weightOf(ChannelRole role) {
    switch (role) {
        case ChannelRole::Lfe:
            return 0.0;
        case ChannelRole::LeftSurround:
        case ChannelRole::RightSurround:
            return kSurroundWeight;
        default:
            return 1.0;
    }
}

std::optional<ChannelRole> ChannelLayout::roleNamed(std::string_view name) {
    for (const RoleName& entry : kRoleNames) {
        if (sameIgnoringCase(name, entry.name)) {
            return entry.role;
        }
    }
    return std::nullopt;
}

std::optional<ChannelLayout> ChannelLayout::standard(int channels) {
    using R = ChannelRole;
    switch (channels) {
        case 1:
            return of({R::Mono});
        case 2:
            return of({R::Left, R::Right});
        case 5:
            return of({R::Left, R::Right, R::Centre, R::LeftSurround, R::RightSurround});
        case 6:
            return of({R::Left, R::Right, R::Centre, R::Lfe, R::LeftSurround, R::RightSurround});
        case 8:
            return of({R::Left, R::Right, R::Centre, R::Lfe, R::LeftSurround, R::RightSurround,
                       R::LeftRearSurround, R::RightRearSurround});
        default:
            return std::nullopt;
    }
}

std::optional<ChannelLayout> ChannelLayout::of(const std::vector<ChannelRole>& roles) {
    if (roles.empty() || roles.size() > kMaxChannels) {
        return std::nullopt;
    }
    ChannelLayout layout;
    for (const ChannelRole role : roles) {
        if (std::count(roles.begin(), roles.end(), role) > 1) {
            return std::nullopt;
        }
        layout.roles[static_cast<std::size_t>(layout.count++)] = role;
    }
    return layout;
}

std::optional<ChannelLayout> ChannelLayout::parse(std::string_view list, int channels,
                                                  std::string& error) {
    if (channels < 1 || channels > kMaxChannels) {
        error = std::to_string(channels) + " channels; from 1 to " + std::to_string(kMaxChannels) +
                " can be measured";
        return std::nullopt;
    }
    std::vector<ChannelRole> roles;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view name = trimmed(list.substr(start, comma - start));
        const std::optional<ChannelRole> role = roleNamed(name);
        if (!role) {
            error = "unknown channel \"" + std::string(name) + "\" in \"" + std::string(list) +
                    "\" (known: " + knownNames() + ")";
            return std::nullopt;
        }
        if (std::find(roles.begin(), roles.end(), *role) != roles.end()) {
            error = "channel " + std::string(shortName(*role)) + " named twice in \"" +
                    std::string(list) + "\"";
            return std::nullopt;
        }
        roles.push_back(*role);
        start = comma + 1;
    }
    if (static_cast<int>(roles.size()) != channels) {
        error = "\"" + std::string(list) + "\" names " + std::to_string(roles.size()) +
                " channels, but there are " + std::to_string(channels);
        return std::nullopt;
    }
    return of(roles);
}

std::string ChannelLayout::name() const {
    const auto first = roles.begin();
    const auto last = first + count;
    if (count == 1 && roles[0] == ChannelRole::Mono) {
        return "mono";
    }
    if (count == 2 && std::count(first, last, ChannelRole::Left) == 1 &&
        std::count(first, last, ChannelRole::Right) == 1) {
        return "stereo";
    }
    const auto lfe = std::count(first, last, ChannelRole::Lfe);
    return std::to_string(count - lfe) + "." + std::to_string(lfe);
}

std::string ChannelLayout::list() const {
    std::string text;
    for (int c = 0; c < count; ++c) {
        text += (c ? "," : "") + std::string(shortName(role(c)));
    }
    return text;
}

bool ChannelLayout::operator==(const ChannelLayout& other) const {
    return count == other.count &&
           std::equal(roles.begin(), roles.begin() + count, other.roles.begin());
}
