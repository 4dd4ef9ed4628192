#include <benchmark/benchmark.h>

#include "engine/uci_protocol.hpp"
#include "platform/console.hpp"
#include "scoring/watch.hpp"

namespace {

using namespace tarnwick;

// An info line as stockfish prints it, with a 20-move variation in coordinate notation.
constexpr const char* kInfoLine =
    "info depth 20 seldepth 28 multipv 1 score cp 35 nodes 1234567 nps 1500000 hashfull 301 "
    "tbhits 0 time 823 pv e1g1 f8c5 c2c3 e8g8 d2d4 e5d4 c3d4 c5b4 b1c3 f6e4 d4d5 b4c3 b2c3 "
    "c6e7 f1e1 e4c3 d1d3 c3d5 c4d5 e7d5";

// One info line through the UCI protocol, the watch and the echo, as a lane's reading thread
// handles it.
void BM_UciInfoLineThroughWatch(benchmark::State& state) {
    const UciProtocol protocol({});
    ConsoleOutput console = ConsoleOutput::capture();
    WatchState watch;
    TestPosition entry;
    entry.parseEpd(
        "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - bm O-O d3; c1 \"10 5\";");
    installPosition(watch, entry);
    int lines = 0;
    for (auto _ : state) {
        const EngineEvent event = protocol.read(kInfoLine);
        const AnalysisLine& line = std::get<AnalysisLine>(event);
        console.line(line.echo, onAnalysisLine(watch, line).fullScore);
        if (++lines % 4096 == 0) console.takeCaptured();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UciInfoLineThroughWatch)->Unit(benchmark::kMicrosecond);

void BM_UciInfoLineParseOnly(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(parseUciLine(kInfoLine));
}
BENCHMARK(BM_UciInfoLineParseOnly);

}  // namespace
