#pragma once

#include <string>
#include <string_view>

#include "epd/test_position.hpp"
#include "scoring/position_scorer.hpp"

namespace tarnwick {

// The console heading of a position: "\n3/20 Id: T3\nmoves: Rxb2(1) Qxb2(-1) \n", every best
// and then every avoid move with its points, or "(*) " when it names no legal move; a points
// suite shows its list's moves instead, and a mate test "mate in 3 " or "mated in 2 ". Words
// that name no legal move are then told on a line of their own, "Moves that cannot be read: ".
std::string positionHeading(size_t number, size_t total, const TestPosition& position,
                            const PositionScorer& scorer);

// The heading of a puzzle's later step: "Step 2 of 3, after Kh8\nmoves: Qg7(1) \n".
std::string puzzleStepHeading(size_t step, size_t steps, std::string_view opponentMove,
                              const PositionScorer& scorer);

}  // namespace tarnwick
