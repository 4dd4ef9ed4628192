#pragma once

#include "suite/test_position.hpp"

namespace tarnwick {

// Rewrites the position's am, bm, pm and pv in SAN; words of am and bm that name no legal
// move are dropped together with their number of the points list c1.
void normaliseMoves(TestPosition& position);

}  // namespace tarnwick
