// The fuzz sessions of the CLAP library, over its entry linked in directly: the boundary
// (one instance of either meter, any parameter, state, panel and block call a careless host
// may make in the states CLAP allows them) and the lifecycle (the entry initialised and
// released, instances made, used and destroyed in any order). Each answers the first broken
// expectation, or nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string runClapBoundarySession(const std::uint8_t* data, std::size_t size);
std::string runClapLifecycleSession(const std::uint8_t* data, std::size_t size);
