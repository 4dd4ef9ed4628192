#pragma once

#include <cstdint>

#include "chess/move.hpp"
#include "suite/test_position.hpp"

namespace tarnwick {

// The highest points the position awards: 1 when it has best moves (else 0), raised by any
// larger number of its points list; never below 0.
int32_t maxPoints(const TestPosition& position);

// The points the position awards for a move read on a board set from the position's FEN:
// the number of the points list at the move's running place (avoid moves first, then best
// moves), or the default -1 for an avoid move and 1 for a best move; 0 for any other move.
int32_t movePoints(const TestPosition& position, const Move& move);

}  // namespace tarnwick
