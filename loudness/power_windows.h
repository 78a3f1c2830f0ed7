// The momentary (400 ms) and short-term (3 s) windows over the K-weighted power, slid by
// sub-blocks of a few milliseconds: their mean powers after every sub-block, the largest of
// those since reset, and the 100 ms steps at which gating blocks and Loudness Range values
// are taken. Before a window has filled, the time before the reset counts as silence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PowerWindows {
  public:
    static constexpr int kStepsPerMomentary = 4;   ///< 400 ms in 100 ms steps
    static constexpr int kStepsPerShortTerm = 30;  ///< 3 s in 100 ms steps

    /// Sub-blocks of `subBlockLength` samples, `subBlocksPerStep` of them a 100 ms step.
    /// Allocates.
    void setup(std::size_t subBlockLength, int subBlocksPerStep);
    void reset();
    /// Slides the windows by one sub-block whose squares summed to `sumOfSquares`.
    void push(double sumOfSquares);

    /// Whether the last push ended a 100 ms step with the momentary or short-term window
    /// full: the windows' powers are then a gating block and a Loudness Range value.
    bool momentaryBlockDone() const { return stepDone && pushed >= momentaryLength; }
    bool shortTermBlockDone() const { return stepDone && pushed >= shortTermLength; }

    /// 100 ms steps completed since reset, and sub-blocks still to push before the next ends.
    std::uint64_t completedSteps() const { return pushed / static_cast<std::uint64_t>(perStep); }
    std::size_t subBlocksToStep() const {
        return static_cast<std::size_t>(perStep) -
               static_cast<std::size_t>(pushed % static_cast<std::uint64_t>(perStep));
    }

    /// Mean powers, summed over the channels.
    double momentaryPower() const { return momentary; }
    double shortTermPower() const { return shortTerm; }
    double maxMomentaryPower() const { return maxMomentary; }
    double maxShortTermPower() const { return maxShortTerm; }

  private:
    /// Sums of the last `count` sub-blocks' sums, newest at `newest`.
    double recentSum(const std::vector<double>& ring, std::size_t newest, std::size_t count) const;

    int perStep = 1;
    std::size_t momentaryLength = 0;  ///< in sub-blocks
    std::size_t shortTermLength = 0;  ///< in sub-blocks; the length of both rings
    double momentaryScale = 0.0;      ///< 1 / samples in the momentary window
    double shortTermScale = 0.0;
    std::vector<double> subBlockSums;  ///< ring of the last short-term window's sub-blocks
    /// Ring of the momentary window's sum at each of those sub-blocks: seven of them and two
    /// steps of sub-blocks make a short-term window.
    std::vector<double> momentarySums;
    std::size_t newest = 0;
    std::uint64_t pushed = 0;
    bool stepDone = false;
    double momentary = 0.0;
    double shortTerm = 0.0;
    double maxMomentary = 0.0;
    double maxShortTerm = 0.0;
};
