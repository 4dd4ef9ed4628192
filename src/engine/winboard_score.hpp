#pragma once

#include <cstdint>

#include "engine/analysis_line.hpp"

namespace tarnwick {

// Reads the score of an xboard thinking line. xboard engines write a mate as a number on a
// scale of their own: 100000 + moves (the protocol's convention: Fairy-Max, Stockfish through
// PolyGlot), or a ceiling less the plies to mate (HoiChess 100000, Sjeng 999999, Phalanx 30000,
// GNU Chess 10000). A number in one of those bands is taken for a mate with its distance in
// moves; the number itself stays what the score shows as centipawns.
Score winboardScore(int32_t printed);

}  // namespace tarnwick
