#pragma once

#include <vector>

#include "suite/test_position.hpp"

namespace tarnwick {

// Clears the suite positions that already have a result: in result order, each record clears
// the first suite position, in suite order, with the same position (board, side, castling
// rights, en-passant square) that is not cleared yet. Each record clears at most one.
void setAsideTested(std::vector<TestPosition>& suite, const std::vector<TestPosition>& results);

}  // namespace tarnwick
