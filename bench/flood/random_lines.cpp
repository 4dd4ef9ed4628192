// Prints UCI info lines whose variations are fresh random walks of legal moves, the worst
// case for a tester that reads every variation: no two lines share a start.
// Usage: tarnwick-flood-lines FEN LINES [MOVES] [SEED]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "chess/board.hpp"
#include "chess/movegen.hpp"
#include "testengine/search.hpp"

int main(int argc, char** argv) {
    using namespace tarnwick;
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FEN LINES [MOVES] [SEED]\n", argv[0]);
        return 2;
    }
    const long lines = std::atol(argv[2]);
    const int moves = argc > 3 ? std::atoi(argv[3]) : 20;
    std::mt19937 random(argc > 4 ? static_cast<unsigned>(std::atol(argv[4])) : 1u);
    Board start;
    start.setFromFen(argv[1]);
    std::string line;
    for (long n = 0; n < lines; ++n) {
        BoardBase board = start;
        line =
            "info depth 20 seldepth 28 multipv 1 score cp 35 nodes 1234567 nps 1500000 "
            "hashfull 301 tbhits 0 time 823 pv";
        for (int ply = 0; ply < moves; ++ply) {
            MoveList legal;
            generateLegal(board, legal);
            if (legal.count == 0) break;
            Move move = legal[static_cast<int>(random() % static_cast<unsigned>(legal.count))];
            line += ' ';
            line += testengine::coordinateText(move);
            makeMove(board, move);
        }
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    return 0;
}
