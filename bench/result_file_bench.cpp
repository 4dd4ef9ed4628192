// What forcing every result record to the disk costs: a typical 200-byte record appended with
// ResultFile (write, then fdatasync), against the same record appended without the sync. The
// file lies in the working directory, on the disk results go to, not on a tmpfs /tmp. Wall
// time counts: the sync spends it waiting for the disk, not on the processor.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "platform/result_file.hpp"

namespace {

const std::string kRecord = std::string(199, 'r') + "\n";

std::string benchFile(const char* name) {
    return (std::filesystem::current_path() / (std::string("tarnwick-bench-") + name)).string();
}

void BM_ResultFileAppendSynced(benchmark::State& state) {
    const std::string path = benchFile("synced.epd");
    std::filesystem::remove(path);
    tarnwick::ResultFile file;
    std::string reason;
    if (file.open(path, reason) != tarnwick::ResultFileOpen::opened) {
        state.SkipWithError(("cannot open " + path + ": " + reason).c_str());
        return;
    }
    for (auto _ : state) {
        if (!file.append(kRecord, reason)) {
            state.SkipWithError(reason.c_str());
            break;
        }
    }
    file.close();
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kRecord.size()));
}
BENCHMARK(BM_ResultFileAppendSynced)->Unit(benchmark::kMicrosecond)->UseRealTime();

#ifndef _WIN32
// The same record with one plain append-mode write, left to the page cache.
void BM_PlainAppendUnsynced(benchmark::State& state) {
    const std::string path = benchFile("plain.epd");
    std::filesystem::remove(path);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        state.SkipWithError(("cannot open " + path).c_str());
        return;
    }
    for (auto _ : state) {
        if (::write(fd, kRecord.data(), kRecord.size()) != static_cast<ssize_t>(kRecord.size())) {
            state.SkipWithError("write failed");
            break;
        }
    }
    ::close(fd);
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kRecord.size()));
}
BENCHMARK(BM_PlainAppendUnsynced)->Unit(benchmark::kMicrosecond)->UseRealTime();
#endif

}  // namespace
