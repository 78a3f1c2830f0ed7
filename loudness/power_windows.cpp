#include "loudness/power_windows.h"

#include <algorithm>

void PowerWindows::setup(std::size_t subBlockLength, int subBlocksPerStep) {
    perStep = subBlocksPerStep;
    momentaryLength = static_cast<std::size_t>(kStepsPerMomentary * perStep);
    shortTermLength = static_cast<std::size_t>(kStepsPerShortTerm * perStep);
    momentaryScale = 1.0 / static_cast<double>(momentaryLength * subBlockLength);
    shortTermScale = 1.0 / static_cast<double>(shortTermLength * subBlockLength);
    subBlockSums.assign(shortTermLength, 0.0);
    momentarySums.assign(shortTermLength, 0.0);
    reset();
}

void PowerWindows::reset() {
    std::fill(subBlockSums.begin(), subBlockSums.end(), 0.0);
    std::fill(momentarySums.begin(), momentarySums.end(), 0.0);
    newest = shortTermLength - 1;
    pushed = steps = 0;
    intoStep = 0;
    stepDone = false;
    momentary = shortTerm = maxMomentary = maxShortTerm = 0.0;
}

double PowerWindows::recentSum(const std::vector<double>& ring, std::size_t from,
                               std::size_t count) const {
    // Two runs at most: from the ring's start to `from`, and from its end backwards.
    const std::size_t first = std::min(count, from + 1);
    double sum = 0.0;
    for (std::size_t i = from + 1 - first; i <= from; ++i) {
        sum += ring[i];
    }
    for (std::size_t i = ring.size() - (count - first); i < ring.size(); ++i) {
        sum += ring[i];
    }
    return sum;
}

void PowerWindows::push(double sumOfSquares) {
    newest = newest + 1 == shortTermLength ? 0 : newest + 1;
    subBlockSums[newest] = sumOfSquares;
    const double momentarySum = recentSum(subBlockSums, newest, momentaryLength);
    momentarySums[newest] = momentarySum;
    // Sums are formed afresh each time, so no rounding error builds up over hours.
    double shortTermSum = 0.0;
    const std::size_t windows = kStepsPerShortTerm / kStepsPerMomentary;
    for (std::size_t w = 0; w < windows; ++w) {
        shortTermSum +=
            momentarySums[(newest + shortTermLength - w * momentaryLength) % shortTermLength];
    }
    const std::size_t rest = shortTermLength - windows * momentaryLength;
    shortTermSum +=
        recentSum(subBlockSums,
                  (newest + shortTermLength - windows * momentaryLength) % shortTermLength, rest);
    momentary = momentarySum * momentaryScale;
    shortTerm = shortTermSum * shortTermScale;
    maxMomentary = std::max(maxMomentary, momentary);
    maxShortTerm = std::max(maxShortTerm, shortTerm);
    ++pushed;
    stepDone = ++intoStep == perStep;
    if (stepDone) {
        intoStep = 0;
        ++steps;
    }
}
