// The fuzz sessions of the loudness meter, as Pevo's drive Pevo: the boundary (one
// instance, any request, parameter and block a careless host may send, the panel open or
// not) and the lifecycle (several instances made, used and closed in any order). Each
// answers the first broken expectation, or nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string runLoudnessBoundarySession(const std::uint8_t* data, std::size_t size);
std::string runLoudnessLifecycleSession(const std::uint8_t* data, std::size_t size);
