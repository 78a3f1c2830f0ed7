// Replays one fuzz target's committed corpus through the session the fuzzer runs, as a
// test: every file must pass, and the target must have files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// A fuzz session: the fault it found in the input, or empty.
using FuzzSession = std::string (*)(const std::uint8_t*, std::size_t);

/// Runs `session` over each embedded corpus file of `target` (its corpus folder's name).
void replayCorpus(const char* target, FuzzSession session);
