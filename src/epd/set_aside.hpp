#pragma once

#include <optional>
#include <string>
#include <vector>

#include "epd/test_position.hpp"

namespace tarnwick {

// Clears the suite positions that already have a result: in result order, each record clears
// the first suite position, in suite order, with the same position (board, side, castling
// rights, en-passant square) that is not cleared yet. Each record clears at most one.
void setAsideTested(std::vector<TestPosition>& suite, const std::vector<TestPosition>& results);

// For each result, the suite position it sets aside by the rule above; empty for none.
std::vector<std::optional<size_t>> matchTested(const std::vector<TestPosition>& suite,
                                               const std::vector<TestPosition>& results);

// What decides whether two records hold the same position (board, side, castling rights,
// en-passant square), packed into a byte string, or for a puzzle its id; empty for an empty
// record.
std::string positionKey(const TestPosition& record);

// The same rule on the records' keys: for each result key, the first suite key, in suite order,
// that equals it and is not matched yet; empty suite keys match nothing.
std::vector<std::optional<size_t>> matchKeys(const std::vector<std::string>& suite,
                                             const std::vector<std::string>& results);

// Orders the results as their suite positions are ordered (matches from matchTested); results
// of no suite position keep their order, after the others. Runs that several engines or
// several shards wrote in pieces report as one run through the suite would.
void putInSuiteOrder(std::vector<TestPosition>& results,
                     const std::vector<std::optional<size_t>>& matches);

// Clears the suite positions of the other shards: those whose index among the suite's
// positions, counted from 0, is not index modulo count. Shards of one suite share nothing, so
// their result files, put together, are the suite's.
void setAsideOtherShards(std::vector<TestPosition>& suite, int32_t index, int32_t count);

}  // namespace tarnwick
