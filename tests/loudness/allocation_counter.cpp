#include "tests/loudness/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
/// Atomic: thread tests in the same program allocate on several threads.
std::atomic<int> allocations{0};
std::atomic<int> releases{0};
std::atomic<int> firstRefused{-1};
}  // namespace

int allocationsSoFar() {
    return allocations.load(std::memory_order_relaxed);
}

int releasesSoFar() {
    return releases.load(std::memory_order_relaxed);
}

void refuseAllocationsFrom(int first) {
    firstRefused.store(first, std::memory_order_relaxed);
}

// It pairs malloc with free itself; the compiler only sees new and free meet.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    const int refused = firstRefused.load(std::memory_order_relaxed);
    if (refused >= 0 && allocations.load(std::memory_order_relaxed) >= refused) {
        throw std::bad_alloc();  // not counted: nothing was allocated
    }
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    releases.fetch_add(memory ? 1 : 0, std::memory_order_relaxed);
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}
