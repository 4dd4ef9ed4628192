#pragma once

#include <cstdint>

#include "chess/board.hpp"
#include "chess/movegen.hpp"

namespace tarnwick {

// Leaf nodes at the given depth, counting the last ply in bulk.
inline uint64_t perft(Board& board, int depth) {
    MoveList moves;
    generateLegal(board, moves);
    if (depth <= 1) return depth == 1 ? static_cast<uint64_t>(moves.count) : 1;
    uint64_t nodes = 0;
    for (int i = 0; i < moves.count; ++i) {
        Move m = moves[i];
        makeMove(board, m);
        nodes += perft(board, depth - 1);
        unmakeMove(board, m);
    }
    return nodes;
}

}  // namespace tarnwick
