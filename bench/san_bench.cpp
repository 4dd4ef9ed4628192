#include <benchmark/benchmark.h>

#include <string>

#include "chess/board.hpp"
#include "chess/notation.hpp"

namespace {

// A middlegame position and a 20-ply principal variation as an engine prints it, with
// captures, a check and a move that needs disambiguation.
constexpr const char* kFen =
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10";
constexpr const char* kPv =
    "h2h3 g4f3 e2f3 c6d4 f3d1 c7c6 c3e2 d4e2 d1e2 h7h6 "
    "g5e3 c5e3 f2e3 d6d5 e4d5 f6d5 e3e4 d5f4 e2f3 a8d8";

void BM_SanVariation20Plies(benchmark::State& state) {
    tarnwick::Board board;
    board.setFromFen(kFen);
    std::string san;
    for (auto _ : state) {
        san.clear();
        tarnwick::appendSanVariation(san, board, kPv);
        benchmark::DoNotOptimize(san.data());
    }
    if (san !=
        "h3 Bxf3 Qxf3 Nd4 Qd1 c6 Ne2 Nxe2+ Qxe2 h6 Be3 Bxe3 fxe3 d5 exd5 Nxd5 e4 Nf4 "
        "Qf3 Rad8") {
        state.SkipWithError("variation converted wrongly");
    }
}
BENCHMARK(BM_SanVariation20Plies)->Unit(benchmark::kMicrosecond);

// The same conversion through a fresh text each time, as a caller keeping no buffer does it.
void BM_SanVariationFreshText(benchmark::State& state) {
    tarnwick::Board board;
    board.setFromFen(kFen);
    for (auto _ : state) {
        std::string san = tarnwick::sanVariation(board, kPv);
        benchmark::DoNotOptimize(san.data());
    }
}
BENCHMARK(BM_SanVariationFreshText)->Unit(benchmark::kMicrosecond);

}  // namespace
