// The short-term loudness of the whole programme since the last reset, for the panel's
// graph: the audio thread records one point per half second of gathered audio; any thread
// reads the points. Memory is fixed: when every place is taken, neighbouring points merge
// into their louder one and each point stands for twice the time from then on, so hours of
// programme fit, in ever coarser points, and nothing is ever allocated.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>

class LoudnessHistory {
  public:
    /// Places for points: over an hour at one point every half second, over four and a
    /// half hours after two mergers, every two seconds.
    static constexpr std::uint32_t kCapacity = 1u << 13;
    /// Gating steps (100 ms each) of audio between recorded short-term readings.
    static constexpr int kGatingStepsPerPoint = 5;
    static constexpr double kSecondsPerRecord = kGatingStepsPerPoint * 0.1;

    // Audio thread.
    /// Forgets every point; readers see a new generation.
    void clear() {
        recorded.store(0, std::memory_order_relaxed);
        recordsPerPointNow.store(1, std::memory_order_relaxed);
        loudestPoint.store(kNone, std::memory_order_relaxed);
        waiting = 0;
        generationCount.fetch_add(1, std::memory_order_release);
    }
    /// One short-term reading, in LUFS or -infinity while undefined.
    void record(float shortTerm) {
        merged = waiting == 0 ? shortTerm : std::max(merged, shortTerm);
        if (++waiting < recordsPerPointNow.load(std::memory_order_relaxed)) {
            return;
        }
        waiting = 0;
        std::uint32_t count = recorded.load(std::memory_order_relaxed);
        if (count == kCapacity) {
            count = halve();
        }
        points[count].store(merged, std::memory_order_relaxed);
        if (merged > loudestPoint.load(std::memory_order_relaxed)) {
            loudestPoint.store(merged, std::memory_order_relaxed);
        }
        recorded.store(count + 1, std::memory_order_release);
    }

    // Any thread.
    /// Points recorded since the last clear.
    std::uint32_t size() const { return recorded.load(std::memory_order_acquire); }
    /// Counts the clears and mergers, so that a reader knows its earlier points are gone.
    std::uint32_t generation() const { return generationCount.load(std::memory_order_acquire); }
    /// Point `index` (< size()): the loudest reading of its time, in LUFS or -infinity.
    float at(std::uint32_t index) const {
        return points[index % kCapacity].load(std::memory_order_relaxed);
    }
    /// The audio time each point stands for.
    double secondsPerPoint() const {
        return kSecondsPerRecord * recordsPerPointNow.load(std::memory_order_relaxed);
    }
    /// The loudest point since the last clear, -infinity for none.
    float loudest() const { return loudestPoint.load(std::memory_order_relaxed); }
    /// Records merged into each point now: 1, doubled by every merger.
    std::uint32_t recordsPerPoint() const {
        return recordsPerPointNow.load(std::memory_order_relaxed);
    }

    // The only writing thread of a copy of another history (a panel drawn apart from its
    // effect), in place of record.
    /// Takes the other history's next point, `point`, each of its points standing for
    /// `recordsPerPoint` records; false, and nothing taken, for any point but the next.
    bool place(std::uint32_t index, float point, std::uint32_t recordsPerPoint) {
        if (index != size() || index >= kCapacity || recordsPerPoint == 0) {
            return false;
        }
        points[index].store(point, std::memory_order_relaxed);
        recordsPerPointNow.store(recordsPerPoint, std::memory_order_relaxed);
        if (point > loudestPoint.load(std::memory_order_relaxed)) {
            loudestPoint.store(point, std::memory_order_relaxed);
        }
        recorded.store(index + 1, std::memory_order_release);
        return true;
    }

  private:
    static constexpr float kNone = -std::numeric_limits<float>::infinity();

    /// Merges neighbours into the first half; returns the points left.
    std::uint32_t halve() {
        for (std::uint32_t i = 0; i < kCapacity / 2; ++i) {
            points[i].store(std::max(at(2 * i), at(2 * i + 1)), std::memory_order_relaxed);
        }
        recordsPerPointNow.store(2 * recordsPerPointNow.load(std::memory_order_relaxed),
                                 std::memory_order_relaxed);
        recorded.store(kCapacity / 2, std::memory_order_relaxed);
        generationCount.fetch_add(1, std::memory_order_release);
        return kCapacity / 2;
    }

    std::atomic<float> points[kCapacity] = {};
    std::atomic<std::uint32_t> recorded{0};
    std::atomic<std::uint32_t> recordsPerPointNow{1};
    std::atomic<float> loudestPoint{kNone};
    std::atomic<std::uint32_t> generationCount{0};
    /// Audio thread: readings waiting to merge into the next point, and their loudest.
    std::uint32_t waiting = 0;
    float merged = kNone;
};
