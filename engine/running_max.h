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
        const std::uint32_t leaf = cursor;
        nodes[leaf] = x;
        cursor = leaf + 1 == 2 * length ? length : leaf + 1;
        climb(nodes, leaf);
        return nodes[1];
    }

    /// The same as pushing `count` (at least 1) values in order, answering the maximum after
    /// the last; each inner node is recomputed once rather than once per value below it.
    T pushMany(const T* values, std::uint32_t count) {
        if (length <= 1) {
            return values[count - 1];
        }
        T* const nodes = tree.data();
        const std::uint32_t first = cursor;
        for (std::uint32_t i = 0; i < count; ++i) {
            nodes[cursor] = values[i];
            if (++cursor == 2 * length) {
                cursor = length;
            }
        }
        if (count >= length) {
            refresh(nodes, length, 2 * length - 1);
        } else if (first + count <= 2 * length) {
            refresh(nodes, first, first + count - 1);
        } else {  // the new leaves wrap around the end of the ring
            refresh(nodes, first, 2 * length - 1);
            refresh(nodes, length, cursor - 1);
        }
        return nodes[1];
    }

    std::uint32_t length = 0;
    /// Leaf that the next push overwrites: always the oldest value.
    std::uint32_t cursor = 0;
    /// Node 1 is the root, nodes length .. 2 * length - 1 are the leaves.
    std::vector<T> tree;
    T initialValue{};

  private:
    /// Recomputes every ancestor of the nodes `low` .. `high`, lowest first. A node met again
    /// on a later pass (its subtree reaches deeper) is recomputed then, after its children.
    static void refresh(T* nodes, std::uint32_t low, std::uint32_t high) {
        while (low != high) {
            low = low > 3 ? low >> 1 : 1;
            high >>= 1;
            for (std::uint32_t node = low; node <= high; ++node) {
                const T left = nodes[2 * node];
                const T right = nodes[2 * node + 1];
                nodes[node] = right > left ? right : left;
            }
        }
        climb(nodes, low);
    }

    /// Recomputes the ancestors of `node`, lowest first, with its value kept in a register so
    /// that no step waits for a store. A node whose value comes out unchanged leaves every
    /// node above it as it was.
    static void climb(T* nodes, std::uint32_t node) {
        T larger = nodes[node];
        while (node > 1) {
            const T sibling = nodes[node ^ 1u];
            larger = sibling > larger ? sibling : larger;
            node >>= 1;
            if (nodes[node] == larger) {
                break;
            }
            nodes[node] = larger;
        }
    }
};
