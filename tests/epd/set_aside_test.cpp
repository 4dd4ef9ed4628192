#include "epd/set_aside.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

// Shard K of N keeps the positions whose place among the suite's positions, from 0, is K modulo
// N; entries already set aside do not count. Every position falls to exactly one shard.
TEST(SetAside, ShardsSplitThePositionsByTheirPlace) {
    std::vector<TestPosition> suite(7);
    for (size_t i = 0; i < suite.size(); ++i) {
        suite[i].parseEpd("4k3/8/8/8/8/8/8/K7 w - - id \"" + std::to_string(i) + "\";");
    }
    suite[2].clear();  // tested before: the places run 0, 1, -, 2, 3, 4, 5
    const auto kept = [&](int32_t index, int32_t count) {
        std::vector<TestPosition> shard = suite;
        setAsideOtherShards(shard, index, count);
        std::string ids;
        for (const TestPosition& p : shard) ids += p.isEmpty() ? "" : p.id + " ";
        return ids;
    };
    EXPECT_EQ(kept(0, 1), "0 1 3 4 5 6 ");
    EXPECT_EQ(kept(0, 2), "0 3 5 ");
    EXPECT_EQ(kept(1, 2), "1 4 6 ");
    EXPECT_EQ(kept(2, 3), "3 6 ");
    EXPECT_EQ(kept(5, 6), "6 ");
}

}  // namespace
}  // namespace tarnwick
