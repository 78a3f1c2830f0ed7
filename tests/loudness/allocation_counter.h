// Counts every allocation of the test program it is compiled into, on every thread, so
// that a test can show a part makes none after set-up. It replaces operator new and
// delete for the whole program.
#pragma once

/// The allocations through operator new so far, and the releases through delete.
int allocationsSoFar();
int releasesSoFar();
/// Allocation number `first` (counted as allocationsSoFar counts) and all after it throw
/// std::bad_alloc; -1 lets every one through again.
void refuseAllocationsFrom(int first);
