#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "chess/board.hpp"
#include "chess/movegen.hpp"

namespace tarnwick::testutil {

inline Board boardFrom(std::string_view fen) {
    Board b;
    b.setFromFen(fen);
    return b;
}

// The positions of the perft table, used as seeds for random playouts too.
inline const std::vector<std::string>& perftFens() {
    static const std::vector<std::string> fens = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    };
    return fens;
}

// Positions reached by random legal playouts of up to maxPlies from each perft position.
inline std::vector<Board> playoutPositions(int perSeed, int maxPlies, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<Board> out;
    MoveList list;
    for (const std::string& fen : perftFens()) {
        for (int game = 0; game < perSeed; ++game) {
            Board b = boardFrom(fen);
            const int plies = static_cast<int>(rng() % static_cast<uint32_t>(maxPlies + 1));
            for (int ply = 0; ply < plies; ++ply) {
                generateLegal(b, list);
                if (list.count == 0) break;
                Move m = list[static_cast<int>(rng() % static_cast<uint32_t>(list.count))];
                makeMove(b, m);
            }
            out.push_back(b);
        }
    }
    return out;
}

}  // namespace tarnwick::testutil
