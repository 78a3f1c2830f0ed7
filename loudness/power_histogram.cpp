#include "loudness/power_histogram.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "loudness/loudness_units.h"

namespace {

constexpr std::size_t kFineBins = static_cast<std::size_t>(
    (PowerHistogram::kFineTop - PowerHistogram::kAbsoluteGate) / PowerHistogram::kFineWidth);
constexpr std::size_t kBins =
    kFineBins + static_cast<std::size_t>(PowerHistogram::kTop - PowerHistogram::kFineTop);

std::size_t binOf(double lufs) {
    if (lufs < PowerHistogram::kFineTop) {
        const double bin = (lufs - PowerHistogram::kAbsoluteGate) / PowerHistogram::kFineWidth;
        return std::min(static_cast<std::size_t>(bin), kFineBins - 1);
    }
    const double bin = static_cast<double>(kFineBins) + (lufs - PowerHistogram::kFineTop);
    return std::min(static_cast<std::size_t>(bin), kBins - 1);
}

}  // namespace

void PowerHistogram::setup() {
    // All bits zero is a sum of 0.0 and a count of 0.
    auto* fresh = static_cast<Bin*>(std::calloc(kBins, sizeof(Bin)));
    if (!fresh) {
        throw std::bad_alloc();
    }
    bins.reset(fresh);
    lowest = highest = 0;
}

void PowerHistogram::reset() {
    std::fill(bins.get() + lowest, bins.get() + highest, Bin{0.0, 0});
    lowest = highest = 0;
}

void PowerHistogram::add(double power) {
    const double lufs = loudnessOf(power);
    if (!(lufs > kAbsoluteGate)) {
        return;
    }
    const std::size_t bin = binOf(lufs);
    bins[bin].powerSum += power;
    ++bins[bin].count;
    if (lowest == highest) {
        lowest = bin;
        highest = bin + 1;
    }
    lowest = std::min(lowest, bin);
    highest = std::max(highest, bin + 1);
}

PowerHistogram::Gated PowerHistogram::aboveGate(double relativeGate) const {
    double powerSum = 0.0;
    std::uint64_t count = 0;
    for (std::size_t bin = lowest; bin < highest; ++bin) {
        powerSum += bins[bin].powerSum;
        count += bins[bin].count;
    }
    if (count == 0) {
        return {highest, 0, 0.0};
    }
    // Whole bins: a bin is above the gate when the mean of its blocks is. Compared as
    // powers, with no logarithm per bin.
    const double gate = powerSum / static_cast<double>(count) * std::pow(10.0, relativeGate / 10.0);
    std::size_t first = lowest;
    while (first < highest &&
           (bins[first].count == 0 ||
            bins[first].powerSum <= gate * static_cast<double>(bins[first].count))) {
        ++first;
    }
    powerSum = 0.0;
    count = 0;
    for (std::size_t bin = first; bin < highest; ++bin) {
        powerSum += bins[bin].powerSum;
        count += bins[bin].count;
    }
    return {first, count, powerSum};
}

double PowerHistogram::gatedLoudness(double relativeGate) const {
    const Gated gated = aboveGate(relativeGate);
    return gated.count == 0 ? loudnessOf(0.0)
                            : loudnessOf(gated.powerSum / static_cast<double>(gated.count));
}

double PowerHistogram::loudnessAtRank(std::size_t first, std::uint64_t rank) const {
    std::uint64_t seen = 0;
    std::size_t bin = first;
    while (seen + bins[bin].count <= rank) {
        seen += bins[bin].count;
        ++bin;
    }
    return loudnessOf(bins[bin].powerSum / static_cast<double>(bins[bin].count));
}

double PowerHistogram::range(double relativeGate, double lower, double upper) const {
    const Gated gated = aboveGate(relativeGate);
    if (gated.count == 0) {
        return 0.0;
    }
    // Nearest rank among the blocks sorted by loudness.
    const auto rankOf = [&](double fraction) {
        return static_cast<std::uint64_t>(static_cast<double>(gated.count - 1) * fraction + 0.5);
    };
    return loudnessAtRank(gated.first, rankOf(upper)) - loudnessAtRank(gated.first, rankOf(lower));
}
