#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "epd/epd_file.hpp"
#include "epd/set_aside.hpp"

namespace {

namespace fs = std::filesystem;
using tarnwick::TestPosition;

// A typical suite line with a distinct position per index (a king walk plus pawn pattern).
std::string suiteLine(int i) {
    std::string placement;
    for (int rank = 0; rank < 8; ++rank) {
        if (rank) placement += '/';
        const int bits = (i >> (rank * 2)) & 3;
        placement += bits == 0 ? "8" : bits == 1 ? "p7" : bits == 2 ? "1P6" : "2n5";
    }
    placement[0] = 'k';
    placement.back() = 'K';
    return placement + (i % 2 ? " w" : " b") +
           " - - bm Kg2 Kh2; c0 \"Some game, 1999\"; c1 \"10 5\"; id \"bench." + std::to_string(i) +
           "\";";
}

const fs::path& suiteFile() {
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() / "tarnwick_bench_100k.epd";
        std::ofstream out(p, std::ios::binary);
        for (int i = 0; i < 100000; ++i) out << suiteLine(i) << '\n';
        return p;
    }();
    return path;
}

void BM_ReadEpdFile100k(benchmark::State& state) {
    const std::string path = suiteFile().string();
    for (auto _ : state) {
        std::vector<TestPosition> list;
        tarnwick::readEpdFile(path, list);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_ReadEpdFile100k)->Unit(benchmark::kMillisecond);

void BM_SetAside100kBy100k(benchmark::State& state) {
    std::vector<TestPosition> suite;
    tarnwick::readEpdFile(suiteFile().string(), suite);
    const std::vector<TestPosition> results = suite;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<TestPosition> copy = suite;
        state.ResumeTiming();
        tarnwick::setAsideTested(copy, results);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_SetAside100kBy100k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
