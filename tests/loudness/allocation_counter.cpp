#include "tests/loudness/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
/// Atomic: thread tests in the same program allocate on several threads.
std::atomic<int> allocations{0};
}  // namespace

int allocationsSoFar() {
    return allocations.load(std::memory_order_relaxed);
}

// It pairs malloc with free itself; the compiler only sees new and free meet.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
