#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "chess/board.hpp"
#include "chess/movegen.hpp"

namespace {

using tarnwick::Board;
using tarnwick::BoardBase;
using tarnwick::MoveList;

// Leaf nodes below a position, counting the last ply from the generated list.
uint64_t perft(BoardBase& board, int depth, std::vector<MoveList>& lists) {
    MoveList& list = lists[static_cast<size_t>(depth)];
    tarnwick::generateLegal(board, list);
    if (depth == 1) return static_cast<uint64_t>(list.count);
    uint64_t nodes = 0;
    for (int i = 0; i < list.count; ++i) {
        tarnwick::makeMove(board, list[i]);
        nodes += perft(board, depth - 1, lists);
        tarnwick::unmakeMove(board, list[i]);
    }
    return nodes;
}

void runPerft(benchmark::State& state, const char* fen, int depth) {
    Board board;
    board.setFromFen(fen);
    std::vector<MoveList> lists(static_cast<size_t>(depth) + 1);
    uint64_t total = 0;
    for (auto _ : state) {
        const uint64_t nodes = perft(board, depth, lists);
        benchmark::DoNotOptimize(nodes);
        total += nodes;
    }
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
}

void BM_PerftStartDepth5(benchmark::State& state) {
    runPerft(state, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5);
}
BENCHMARK(BM_PerftStartDepth5)->Unit(benchmark::kMillisecond);

void BM_PerftKiwipeteDepth4(benchmark::State& state) {
    runPerft(state, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4);
}
BENCHMARK(BM_PerftKiwipeteDepth4)->Unit(benchmark::kMillisecond);

}  // namespace
