// The boundary fuzz session: one instance driven through its record by a byte string read
// as a sequence of calls of every kind, checked after each call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// Runs the session `data` describes; answers the first fault found, or nothing.
std::string runBoundarySession(const std::uint8_t* data, std::size_t size);
