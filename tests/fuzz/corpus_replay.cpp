#include "tests/fuzz/corpus_replay.h"

#include <gtest/gtest.h>

#include "tests/fuzz/embedded_corpus.h"

void replayCorpus(const char* target, FuzzSession session) {
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
