// The EBU minimum-requirement cases played at 48 kHz through the CLAP loudness meter and
// read back through its read-only parameters, as a host reads them: plain values in LUFS,
// LU and dBTP, within each case's tolerance.
#include <gtest/gtest.h>

#include "tests/clap/clap_test_host.h"
#include "tests/meter_loudness/ebu_minimum_cases.h"

namespace {

TEST(ClapLoudnessMinimumRequirements, ReadingsWithinTolerance) {
    for (const ebu::Case& c : ebu::minimumRequirementCases()) {
        SCOPED_TRACE(c.name);
        ClapTestHost host;
        ClapPluginUnderTest meter(host, "org.quellmark.pevo.loudness");
        ASSERT_TRUE(meter.plugin && meter.activate(ebu::kRate));
        meter.play(c.signal);
        for (const ebu::Expectation& e : c.expected) {
            const double reading = meter.value(ClapId(e.reading));
            EXPECT_GE(reading, e.value - e.below - 1e-9) << "reading " << e.reading;
            EXPECT_LE(reading, e.value + e.above + 1e-9) << "reading " << e.reading;
        }
    }
}

}  // namespace
