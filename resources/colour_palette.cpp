#include "resources/colour_palette.h"

#include <algorithm>
#include <map>

namespace {

uint32_t keyOf(BmpImage::Colour colour) {
    return uint32_t(colour.red) << 16 | uint32_t(colour.green) << 8 | colour.blue;
}

int channelOf(BmpImage::Colour colour, int channel) {
    return channel == 0 ? colour.red : channel == 1 ? colour.green : colour.blue;
}

// Green weighs most and blue least in how different two colours look.
constexpr int kChannelWeights[3] = {3, 4, 2};

int distance(BmpImage::Colour a, BmpImage::Colour b) {
    int sum = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const int d = channelOf(a, channel) - channelOf(b, channel);
        sum += kChannelWeights[channel] * d * d;
    }
    return sum;
}

}  // namespace

ColourPalette::ColourPalette(const std::vector<Colour>& pixels, int capacity) {
    std::map<uint32_t, Entry> counts;
    std::vector<Colour> firstSeen;
    for (const Colour& colour : pixels) {
        auto [where, added] = counts.try_emplace(keyOf(colour), Entry{colour, 0});
        ++where->second.count;
        if (added) {
            firstSeen.push_back(colour);
        }
    }
    if (static_cast<int>(counts.size()) <= capacity) {
        palette = firstSeen;
    } else {
        std::vector<Entry> entries;
        entries.reserve(counts.size());
        for (const auto& [key, entry] : counts) {
            entries.push_back(entry);
        }
        cut(entries, capacity);
    }
    for (const auto& [key, entry] : counts) {
        indices[key] = nearest(entry.colour);
    }
    palette.resize(static_cast<size_t>(capacity), Colour{0, 0, 0});
}

int ColourPalette::indexOf(Colour colour) const {
    const auto known = indices.find(keyOf(colour));
    return known != indices.end() ? known->second : nearest(colour);
}

void ColourPalette::cut(std::vector<Entry>& entries, int capacity) {
    std::vector<Box> boxes{measure(entries, 0, entries.size())};
    while (static_cast<int>(boxes.size()) < capacity) {
        const auto widest =
            std::max_element(boxes.begin(), boxes.end(),
                             [](const Box& a, const Box& b) { return a.spread < b.spread; });
        if (widest->spread <= 0.0) {
            break;
        }
        const Box box = *widest;
        const int channel = box.channel;
        // Ties are ordered by the whole colour so that the cut never depends on the sort.
        std::sort(entries.begin() + box.begin, entries.begin() + box.end,
                  [channel](const Entry& a, const Entry& b) {
                      const int ca = channelOf(a.colour, channel);
                      const int cb = channelOf(b.colour, channel);
                      return ca != cb ? ca < cb : keyOf(a.colour) < keyOf(b.colour);
                  });
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            total += entries[i].count;
        }
        uint64_t below = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i + 1 < box.end; ++i) {
            below += entries[i].count;
            split = i + 1;
            if (2 * below >= total) {
                break;
            }
        }
        *widest = measure(entries, box.begin, split);
        boxes.push_back(measure(entries, split, box.end));
    }
    for (const Box& box : boxes) {
        const auto commonest = std::max_element(
            entries.begin() + box.begin, entries.begin() + box.end,
            [](const Entry& a, const Entry& b) {
                return a.count != b.count ? a.count < b.count : keyOf(a.colour) > keyOf(b.colour);
            });
        palette.push_back(commonest->colour);
    }
}

ColourPalette::Box ColourPalette::measure(const std::vector<Entry>& entries, size_t begin,
                                          size_t end) {
    double count = 0.0, sum[3] = {}, squares[3] = {};
    for (size_t i = begin; i < end; ++i) {
        for (int channel = 0; channel < 3; ++channel) {
            const double value = channelOf(entries[i].colour, channel);
            sum[channel] += entries[i].count * value;
            squares[channel] += entries[i].count * value * value;
        }
        count += entries[i].count;
    }
    Box box{begin, end, 0.0, 0};
    double widest = -1.0;
    for (int channel = 0; channel < 3; ++channel) {
        const double scatter =
            kChannelWeights[channel] * (squares[channel] - sum[channel] * sum[channel] / count);
        box.spread += scatter;
        if (scatter > widest) {
            widest = scatter;
            box.channel = channel;
        }
    }
    if (end - begin < 2) {
        box.spread = 0.0;
    }
    return box;
}

int ColourPalette::nearest(Colour colour) const {
    int best = 0;
    for (size_t i = 1; i < palette.size(); ++i) {
        if (distance(colour, palette[i]) < distance(colour, palette[best])) {
            best = static_cast<int>(i);
        }
    }
    return best;
}
