// A host selecting and renaming programs on one thread while another reads them, as hosts
// do from their main and display threads.
#pragma once

#include <functional>
#include <string>

class AudioEffect;

/// Selects each of `effect`'s `programs` programs in turn and renames it "Mine" or "Theirs,
/// longer", while another thread reads the current program and its name; returns how many
/// reads were torn: a program out of range, or a name that is neither of those two nor one
/// `isFactoryName` accepts.
int tornProgramReads(AudioEffect& effect, int programs,
                     const std::function<bool(const std::string&)>& isFactoryName);
