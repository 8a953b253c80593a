// The tokens a lock owner draws: never 0, fixed by a test's source.
#include <gtest/gtest.h>

#include <vector>

#include "platform/system/token_source.h"

namespace {

TEST(TokenSourceTest, ZeroDrawsAreDrawnAgainAndTheSourceIsFollowed) {
    std::vector<int32_t> draws{0, 0, 77, -5, 0, 9};
    size_t next = 0;
    platform::SetTokenSource([&] { return draws[next++]; });
    EXPECT_EQ(platform::NewToken(), 77);
    EXPECT_EQ(platform::NewToken(), -5);
    EXPECT_EQ(platform::NewToken(), 9);
    EXPECT_EQ(next, draws.size());
}

TEST(TokenSourceTest, TheSystemSourceNeverGivesZero) {
    platform::SetTokenSource({});
    for (int i = 0; i < 1000; ++i) ASSERT_NE(platform::NewToken(), 0);
}

}  // namespace
