// Every committed corpus file of the fuzz targets, replayed through the same sessions the
// fuzzers run: a fault once found stays fixed in every build, sanitizers or not.
#include <gtest/gtest.h>

#include "tests/fuzz/boundary_session.h"
#include "tests/fuzz/embedded_corpus.h"
#include "tests/fuzz/lifecycle_session.h"

namespace {

using Session = std::string (*)(const std::uint8_t*, std::size_t);

void replay(const char* target, Session session) {
    int replayed = 0;
    for (std::size_t i = 0; i < kEmbeddedCorpusCount; ++i) {
        const EmbeddedCorpusFile& file = kEmbeddedCorpus[i];
        if (std::string(file.target) != target) {
            continue;
        }
        EXPECT_EQ(session(file.bytes, file.size), "") << target << "/" << file.name;
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no corpus for " << target;
}

TEST(CorpusReplay, Boundary) {
    replay("boundary", runBoundarySession);
}

TEST(CorpusReplay, Lifecycle) {
    replay("lifecycle", runLifecycleSession);
}

}  // namespace
