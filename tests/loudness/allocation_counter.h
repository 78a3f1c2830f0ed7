// Counts every allocation of the test program it is compiled into, on every thread, so
// that a test can show a part makes none after set-up. It replaces operator new and
// delete for the whole program.
#pragma once

/// The allocations through operator new so far.
int allocationsSoFar();
