#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"
#include "platform/event.hpp"
#include "platform/system.hpp"

#ifdef TEST_ENGINE_BINARY
namespace {

constexpr int kFloodLines = 1000000;

// Counts lines; the engine's "done" after the flood marks the end.
struct Counter {
    long long lines = 0;
    tarnwick::Event done{tarnwick::Event::Reset::manual};

    static bool count(std::string_view line, void* user) {
        auto* self = static_cast<Counter*>(user);
        if (line == "done")
            self->done.set();
        else
            ++self->lines;
        return true;
    }
};

// Lines per second from a test engine that floods 1,000,000 lines of 150 bytes (newline
// included) through LineReader to a handler that only counts; engine start-up included.
void BM_LineReaderFlood(benchmark::State& state) {
    tarnwick::ignoreBrokenPipeSignal();
    const std::string command = std::string("'") + TEST_ENGINE_BINARY +
                                "' --script-text 'on start: flood " + std::to_string(kFloodLines) +
                                " " + std::string(149, 'x') + "; print done'";
    for (auto _ : state) {
        Counter counter;
        tarnwick::EngineProcess engine;
        if (engine.start(command) == 0) {
            state.SkipWithError("the test engine did not start");
            return;
        }
        tarnwick::LineReader reader;
        reader.setInput(engine.fromEngine());
        reader.setHandler(&Counter::count, &counter);
        reader.start();
        if (!counter.done.wait(std::chrono::minutes(5)) || counter.lines != kFloodLines) {
            state.SkipWithError("the flood did not arrive in full");
            return;
        }
        reader.stop();
        engine.sendLine("quit");
        engine.stop();
    }
    state.SetItemsProcessed(state.iterations() * kFloodLines);
}
BENCHMARK(BM_LineReaderFlood)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);

}  // namespace
#endif
