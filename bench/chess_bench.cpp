#include <benchmark/benchmark.h>

#include "chess/board.hpp"
#include "chess/movegen.hpp"
#include "chess/notation.hpp"

namespace {

using tarnwick::Board;

uint64_t perft(Board& board, int depth) {
    tarnwick::MoveList moves;
    tarnwick::generateLegal(board, moves);
    if (depth == 1) return static_cast<uint64_t>(moves.count);
    uint64_t nodes = 0;
    for (int i = 0; i < moves.count; ++i) {
        tarnwick::Move m = moves[i];
        tarnwick::makeMove(board, m);
        nodes += perft(board, depth - 1);
        tarnwick::unmakeMove(board, m);
    }
    return nodes;
}

void runPerft(benchmark::State& state, const char* fen, int depth) {
    Board board;
    board.setFromFen(fen);
    uint64_t nodes = 0;
    for (auto _ : state) nodes += perft(board, depth);
    state.counters["leaves/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}

void BM_PerftStart5(benchmark::State& state) {
    runPerft(state, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5);
}
BENCHMARK(BM_PerftStart5)->Unit(benchmark::kMillisecond);

void BM_PerftKiwipete4(benchmark::State& state) {
    runPerft(state, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4);
}
BENCHMARK(BM_PerftKiwipete4)->Unit(benchmark::kMillisecond);

// A 20-move principal variation in coordinate notation, as an engine prints it, converted to
// SAN the way the analysis watch does it.
void BM_SanVariation20(benchmark::State& state) {
    Board board;
    board.setFromFen("r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4");
    const char* pv =
        "e1g1 f8c5 c2c3 e8g8 d2d4 e5d4 c3d4 c5b4 b1c3 f6e4 d4d5 b4c3 b2c3 c6e7 f1e1 e4c3 d1d3 "
        "c3d5 c4d5 e7d5";
    for (auto _ : state) benchmark::DoNotOptimize(tarnwick::sanVariation(board, pv));
}
BENCHMARK(BM_SanVariation20)->Unit(benchmark::kMicrosecond);

}  // namespace
