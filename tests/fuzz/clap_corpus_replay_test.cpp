// The CLAP library's committed fuzz corpora, replayed through its sessions in every build.
#include <gtest/gtest.h>

#include "tests/fuzz/clap_sessions.h"
#include "tests/fuzz/corpus_replay.h"

namespace {

TEST(ClapCorpusReplay, Boundary) {
    replayCorpus("clap-boundary", runClapBoundarySession);
}

TEST(ClapCorpusReplay, Lifecycle) {
    replayCorpus("clap-lifecycle", runClapLifecycleSession);
}

}  // namespace
