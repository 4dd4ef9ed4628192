#include <benchmark/benchmark.h>

#include "chess/board.hpp"

namespace {

void BM_SetFromFen(benchmark::State& state) {
    tarnwick::Board board;
    for (auto _ : state) {
        board.setFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
        benchmark::DoNotOptimize(board.squares.data());
    }
}
BENCHMARK(BM_SetFromFen);

}  // namespace
