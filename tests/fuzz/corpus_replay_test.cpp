// Every committed corpus file of the fuzz targets, replayed through the same sessions the
// fuzzers run: a fault once found stays fixed in every build, sanitizers or not.
#include <gtest/gtest.h>

#include "tests/fuzz/boundary_session.h"
#include "tests/fuzz/corpus_replay.h"
#include "tests/fuzz/lifecycle_session.h"

namespace {

TEST(CorpusReplay, Boundary) {
    replayCorpus("boundary", runBoundarySession);
}

TEST(CorpusReplay, Lifecycle) {
    replayCorpus("lifecycle", runLifecycleSession);
}

}  // namespace
