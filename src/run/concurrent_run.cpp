#include "run/concurrent_run.hpp"

#include <algorithm>
#include <mutex>
#include <numeric>
#include <thread>

#include "run/engine_session.hpp"
#include "run/lane_loop.hpp"
#include "run/run_progress.hpp"

namespace tarnwick {

namespace {

struct Lane {
    std::optional<PositionOutcome> outcome;  // empty: the engine did not start
};

// Prints what an engine's run has written since the last time as one block, then the progress.
void printBlock(RunState& run, RunState& lane, std::mutex& printing) {
    std::string text;
    {
        std::lock_guard lock(lane.watch.runLock);
        text = lane.console.takeCaptured();
    }
    std::lock_guard lock(printing);
    run.console.replay(text);
    showProgress(run);
}

// Moves the engines' records into the run's result list in suite order, after the records
// read from the result file.
void collectRecords(RunState& run) {
    std::vector<std::pair<size_t, ScoredRecord*>> records;
    for (const auto& lane : run.lanes) {
        for (size_t i = 0; i < lane->recordedFrom.size(); ++i) {
            records.emplace_back(lane->recordedFrom[i], &lane->watch.resultList[i]);
        }
        run.restartedAt.insert(run.restartedAt.end(), lane->restartedAt.begin(),
                               lane->restartedAt.end());
        if (lane->writeFailed) run.writeFailed = true;
        if (run.engineName.empty()) run.engineName = lane->engineName;
    }
    std::sort(records.begin(), records.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [index, record] : records) {
        run.watch.resultList.push_back(std::move(*record));
        run.recordedFrom.push_back(index);
    }
}

}  // namespace

std::optional<PositionOutcome> testConcurrently(RunState& run) {
    // No more engines than positions.
    const int count = static_cast<int>(
        std::min<size_t>(static_cast<size_t>(run.settings.concurrency), run.queue->size()));
    {
        std::lock_guard lock(run.watch.runLock);
        for (int i = 0; i < count; ++i) {
            auto lane = std::make_unique<RunState>(
                run.settings, ConsoleOutput::capture(run.console.highlights()));
            lane->suiteList = run.suiteList;
            lane->records = run.records;
            lane->jsonFile = run.jsonFile;
            lane->queue = run.queue;
            lane->parent = &run;
            run.lanes.push_back(std::move(lane));
        }
    }
    run.lanesReady = true;
    // The interrupt handler may have come just before the engines were there to hear it.
    if (run.interrupted) return PositionOutcome::Interrupted;

    std::mutex printing;
    std::vector<Lane> results(static_cast<size_t>(count));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < run.lanes.size(); ++i) {
        threads.emplace_back([&run, &printing, &lane = *run.lanes[i], &result = results[i]] {
            const bool started = !startEngine(lane).has_value();
            printBlock(run, lane, printing);
            if (!started) return;
            result.outcome = testPositions(lane, [&](const ScoredRecord* record) {
                countPosition(run, record);
                printBlock(run, lane, printing);
            });
            endEngine(lane);
            printBlock(run, lane, printing);
        });
    }
    for (std::thread& thread : threads) thread.join();
    run.console.status({});
    collectRecords(run);

    std::optional<PositionOutcome> outcome;
    for (const Lane& lane : results) {
        if (!lane.outcome) continue;
        // One engine that could not go on does not end the run while another could.
        if (!outcome || *outcome == PositionOutcome::EngineGone) outcome = lane.outcome;
    }
    if (run.interrupted) return PositionOutcome::Interrupted;
    // Positions left in the queue: every engine gave up before them.
    return outcome;
}

}  // namespace tarnwick
