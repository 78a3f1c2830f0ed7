// Every block power measured since reset, as a histogram over loudness: the mean power and
// the count of the blocks in each bin. Memory is the same for ten seconds or ten hours, and
// the gated mean and the percentiles read from it stay within a few thousandths of an LU
// of those computed from every block. The bins come zeroed from the system, so setting up
// touches none of them: only the bins blocks land in ever cost a page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

class PowerHistogram {
  public:
    /// Blocks at or below this are dropped (the absolute gate).
    static constexpr double kAbsoluteGate = -70.0;
    /// Fine bins up to this loudness; above, up to the loudest a float input can reach,
    /// bins of 1 LU.
    static constexpr double kFineTop = 30.0;
    static constexpr double kFineWidth = 0.005;
    static constexpr double kTop = 800.0;

    /// Allocates the bins; throws std::bad_alloc when it cannot.
    void setup();
    void reset();
    void add(double power);

    /// The loudness of the mean power of the blocks above `relativeGate` LU (negative) from
    /// the loudness of the mean power of all blocks; undefined when there are none.
    double gatedLoudness(double relativeGate) const;
    /// The `upper` minus the `lower` percentile (0 to 1) of the loudness of the blocks above
    /// `relativeGate`, in LU; 0 with no blocks.
    double range(double relativeGate, double lower, double upper) const;

  private:
    /// The bins above the relative gate: the first one, and the blocks from it on.
    struct Gated {
        std::size_t first;
        std::uint64_t count;
        double powerSum;
    };
    Gated aboveGate(double relativeGate) const;
    /// The mean loudness of the bin holding the `rank`th block (from 0) from `first` up.
    double loudnessAtRank(std::size_t first, std::uint64_t rank) const;

    struct Bin {
        double powerSum;
        std::uint64_t count;
    };
    struct FreeBins {
        void operator()(Bin* bins) const { std::free(bins); }
    };

    std::unique_ptr<Bin[], FreeBins> bins;
    /// The bins used since reset lie in [lowest, highest).
    std::size_t lowest = 0;
    std::size_t highest = 0;
};
