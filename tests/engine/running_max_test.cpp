#include "engine/running_max.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

namespace {

std::vector<float> pushAll(std::uint32_t length, const std::vector<float>& values) {
    RunningMax<float> window;
    window.length = length;
    window.reset();
    std::vector<float> results;
    for (float value : values) {
        results.push_back(window.push(value));
    }
    return results;
}

TEST(RunningMaxTest, SmallWindowsFollowTheirExamples) {
    EXPECT_EQ(pushAll(0, {0.5f, 0.2f}), (std::vector<float>{0.5f, 0.2f}));
    EXPECT_EQ(pushAll(1, {0.5f, 0.2f}), (std::vector<float>{0.5f, 0.2f}));
    EXPECT_EQ(pushAll(2, {0.5f, 0.2f, 0.1f, 0.0f}), (std::vector<float>{0.5f, 0.5f, 0.2f, 0.1f}));
    EXPECT_EQ(pushAll(3, {3, 1, 2, 0, 0, 0, 0}), (std::vector<float>{3, 3, 3, 2, 2, 0, 0}));
    EXPECT_EQ(pushAll(5, {1, 0, 0, 0, 0, 0}), (std::vector<float>{1, 1, 1, 1, 1, 0}));
}

TEST(RunningMaxTest, MatchesNaiveWindowMaximumForAnyLength) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (std::uint32_t length = 2; length <= 70; ++length) {
        RunningMax<float> window;
        window.length = length;
        window.initialValue = 0.25f;
        window.reset();
        std::deque<float> recent(length, 0.25f);
        for (int i = 0; i < 400; ++i) {
            // Repeats and zeros exercise the tie and floor cases.
            const float x = i % 7 == 0 ? 0.0f : (i % 5 == 0 ? 0.5f : value(random));
            recent.pop_front();
            recent.push_back(x);
            ASSERT_EQ(window.push(x), *std::max_element(recent.begin(), recent.end()))
                << "length " << length << ", push " << i;
        }
    }
}

TEST(RunningMaxTest, PushingManyEqualsPushingEachInTurn) {
    std::mt19937 random(99);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (std::uint32_t length : {1u, 2u, 3u, 5u, 8u, 345u, 1034u}) {
        RunningMax<float> single;
        RunningMax<float> batched;
        single.length = batched.length = length;
        single.reset();
        batched.reset();
        for (int round = 0; round < 200; ++round) {
            // Batches shorter and longer than the window, wrapping round the ring.
            std::vector<float> values(1 + random() % (length + 40));
            float last = 0.0f;
            for (float& x : values) {
                x = value(random);
                last = single.push(x);
            }
            ASSERT_EQ(batched.pushMany(values.data(), static_cast<std::uint32_t>(values.size())),
                      last);
            ASSERT_EQ(batched.tree, single.tree) << "length " << length << ", round " << round;
            ASSERT_EQ(batched.cursor, single.cursor);
        }
    }
}

}  // namespace
