// The lifecycle fuzz session: many instances made and closed in any interleaving, with and
// without their editors open, each checked against what its own calls set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// Runs the session `data` describes; answers the first fault found, or nothing.
std::string runLifecycleSession(const std::uint8_t* data, std::size_t size);
