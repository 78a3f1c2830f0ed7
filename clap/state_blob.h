// The settings as CLAP state: a versioned blob of every stored setting's value, written in
// one go and read back whole before anything changes, so that damaged or foreign bytes leave
// the settings as they were.
//
// Layout, little-endian: "PEVO", format version (u32), count (u32), then per setting its
// index (u32) and its value 0..1 (the bits of a 32-bit float, so a value returns exactly).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clap/clap_abi.h"

class ClapInstance;

class StateBlob {
  public:
    /// The format this build writes; it reads this one and older.
    static constexpr std::uint32_t kVersion = 1;

    static bool save(ClapInstance& instance, const ClapOstream& stream);
    /// False, with the reason in the host's log and the settings untouched, for a state of
    /// a newer format, a cut or damaged one, or one that names unknown settings.
    static bool load(ClapInstance& instance, const ClapIstream& stream);

  private:
    /// The settings the bytes hold, or the reason they are refused in `error`.
    static bool decode(const std::vector<unsigned char>& bytes, ClapInstance& instance,
                       std::vector<std::pair<std::int32_t, float>>& values, std::string& error);
};
