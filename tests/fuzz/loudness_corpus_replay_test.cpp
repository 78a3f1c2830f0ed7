// The loudness meter's committed fuzz corpora, replayed through its sessions in every build.
#include <gtest/gtest.h>

#include "tests/fuzz/corpus_replay.h"
#include "tests/fuzz/loudness_sessions.h"

namespace {

TEST(LoudnessCorpusReplay, Boundary) {
    replayCorpus("loudness-boundary", runLoudnessBoundarySession);
}

TEST(LoudnessCorpusReplay, Lifecycle) {
    replayCorpus("loudness-lifecycle", runLoudnessLifecycleSession);
}

}  // namespace
