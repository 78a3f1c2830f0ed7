// Sliding-window maximum over the last `length` values: a tournament tree laid over a ring
// of leaves in one flat array, so a push costs log2(length) steps and never allocates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

template <typename T>
class RunningMax {
  public:
    virtual ~RunningMax() = default;

    /// Fills the whole tree with `initialValue`; allocates only when the tree must grow.
    void reset() {
        tree.assign(2 * static_cast<std::size_t>(length), initialValue);
        cursor = length;
    }

    /// Makes later resets up to `maxLength` free of allocation.
    void reserve(std::uint32_t maxLength) { tree.reserve(2 * static_cast<std::size_t>(maxLength)); }

    /// Enters `x` as the newest value and answers the maximum of the window. Values must be
    /// non-negative.
    T push(T x) {
        if (length <= 1) {
            return x;
        }
        T* const nodes = tree.data();
        std::uint32_t node = cursor;
        nodes[node] = x;
        // The path's values stay in a register; only the siblings are read back.
        T larger = x;
        while (node != 1) {
            const T sibling = nodes[node ^ 1u];
            larger = sibling > larger ? sibling : larger;
            node >>= 1;
            nodes[node] = larger;
        }
        if (++cursor == 2 * length) {
            cursor = length;
        }
        return nodes[1];
    }

    std::uint32_t length = 0;
    /// Leaf that the next push overwrites: always the oldest value.
    std::uint32_t cursor = 0;
    /// Node 1 is the root, nodes length .. 2 * length - 1 are the leaves.
    std::vector<T> tree;
    T initialValue{};
};
