// The loudness meter's committed fuzz corpora, replayed through its sessions in every build.
#include <gtest/gtest.h>

#include "tests/fuzz/embedded_corpus.h"
#include "tests/fuzz/loudness_sessions.h"

namespace {

using Session = std::string (*)(const std::uint8_t*, std::size_t);

void replay(const char* target, Session session) {
    int replayed = 0;
    for (std::size_t i = 0; i < kEmbeddedCorpusCount; ++i) {
        const EmbeddedCorpusFile& file = kEmbeddedCorpus[i];
        if (std::string(file.target) == target) {
            EXPECT_EQ(session(file.bytes, file.size), "") << target << "/" << file.name;
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no corpus for " << target;
}

TEST(LoudnessCorpusReplay, Boundary) {
    replay("loudness-boundary", runLoudnessBoundarySession);
}

TEST(LoudnessCorpusReplay, Lifecycle) {
    replay("loudness-lifecycle", runLoudnessLifecycleSession);
}

}  // namespace
