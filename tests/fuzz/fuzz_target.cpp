// A libFuzzer target: the build names the session it runs (PEVO_FUZZ_SESSION), Pevo's or
// the loudness meter's. Any fault the session finds stops the run with its description.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/boundary_session.h"
#include "tests/fuzz/clap_sessions.h"
#include "tests/fuzz/lifecycle_session.h"
#include "tests/fuzz/loudness_sessions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fault = PEVO_FUZZ_SESSION(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
