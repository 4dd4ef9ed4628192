#pragma once

#include <string>

#include "suite/scoring.hpp"
#include "suite/test_position.hpp"

namespace tarnwick {

// The console heading of a position: "\n3/20 Id: T3\nmoves: Rxb2(1) Qxb2(-1) \n", every best
// and then every avoid move with its points, or "(*) " when it names no legal move.
std::string positionHeading(size_t number, size_t total, const TestPosition& position,
                            const PositionScorer& scorer);

}  // namespace tarnwick
