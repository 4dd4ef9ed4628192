#include "run/run.hpp"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

#include "cli/command_line.hpp"
#include "epd/epd_file.hpp"
#include "epd/set_aside.hpp"
#include "platform/interrupts.hpp"
#include "platform/system.hpp"
#include "report/compare_run.hpp"
#include "report/outcome_files.hpp"
#include "report/report.hpp"
#include "run/concurrent_run.hpp"
#include "run/console_control.hpp"
#include "run/engine_lines.hpp"
#include "run/engine_session.hpp"
#include "run/lane_loop.hpp"
#include "run/output_checks.hpp"
#include "run/position_search.hpp"
#include "run/run_outputs.hpp"
#include "run/run_progress.hpp"
#include "run/run_state.hpp"
#include "scoring/position_scorer.hpp"
#include "text/seconds_text.hpp"

namespace tarnwick {

namespace {

// Prints the report and writes the solved and unsolved files, the JSON summary and the chart;
// returns kExitFailure when one of them could not be written (the message is printed), else the
// status the thresholds give.
int report(RunState& run) {
    ReportSettings settings;
    settings.msPerPosition = run.settings.msPerPosition;
    settings.timeDecimals = run.settings.timeDecimals;
    settings.goodOnlyFile = run.settings.goodOnlyFile;
    settings.notFoundFile = run.settings.notFoundFile;
    const ReportTotals totals = computeTotals(run.watch.resultList, settings);
    const std::string failure = printReport(run.watch.resultList, totals, settings, run.console);
    if (!failure.empty()) run.console.write(failure + "\n");
    const int status = finishReport(run, totals, settings);
    return failure.empty() ? status : kExitFailure;
}

bool anyPositionLeft(const std::vector<TestPosition>& suite) {
    for (const TestPosition& p : suite) {
        if (!p.isEmpty()) return true;
    }
    return false;
}

// Takes the result file for this run, open for appending and locked against other runs, and
// makes sure the solved and unsolved files can be written, all before anything is tested; the
// message when one cannot.
std::string prepareOutputFiles(RunState& run) {
    if (!run.settings.resultFile.empty()) {
        if (std::string failure = run.records->open(run.settings.resultFile, "Result file");
            !failure.empty()) {
            return failure;
        }
    }
    for (const std::string* file :
         {&run.settings.goodOnlyFile, &run.settings.notFoundFile, &run.settings.plotFile}) {
        if (std::string failure = checkCanCreate(*file); !failure.empty()) return failure;
    }
    return openJsonFile(run);
}

// The run from the engine's start to its report; returns the exit status.
int testWithEngine(RunState& run) {
    std::vector<size_t> toTest;
    for (size_t i = 0; i < run.suiteList.size(); ++i) {
        if (!run.suiteList[i].isEmpty()) toTest.push_back(i);
    }
    run.queue = std::make_shared<PositionQueue>(std::move(toTest));
    const auto started = std::chrono::steady_clock::now();
    // Room for this run's results up front: growing a list of large records copies them all.
    run.watch.resultList.reserve(run.watch.resultList.size() + run.queue->size());
    const size_t resultsBefore = run.watch.resultList.size();
    PositionOutcome outcome = PositionOutcome::Finished;
    if (run.settings.concurrency > 1) {
        const std::optional<PositionOutcome> tested = testConcurrently(run);
        if (!tested) return kExitFailure;
        outcome = *tested;
    } else {
        if (const std::optional<int> failed = startEngine(run)) return *failed;
        outcome = testPositions(run, [&run](const ScoredRecord* record) {
            countPosition(run, record);
            std::lock_guard lock(run.watch.runLock);
            showProgress(run);
        });
        endEngine(run);
        std::lock_guard lock(run.watch.runLock);
        run.console.status({});
    }
    const auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();

    int status = run.restartedAt.empty() && !run.writeFailed ? kExitOk : kExitFailure;
    const size_t toTestCount = run.queue->size();
    const size_t tested = run.watch.resultList.size() - resultsBefore;
    // With several engines one may give up while the others go on: what is left untested
    // tells.
    if ((outcome == PositionOutcome::EngineGone || tested < toTestCount) && !run.interrupted &&
        !run.writeFailed) {
        run.console.write("Engine exited during the run: " + std::to_string(toTestCount - tested) +
                          " of " + std::to_string(toTestCount) + " positions not tested.\n");
        status = kExitFailure;
    }
    if (const int reported = report(run); status == kExitOk) status = reported;
    if (!run.restartedAt.empty()) run.console.write(restartsLine(run.restartedAt));
    if (run.settings.concurrency > 1) {
        run.console.write("Wall time: " + centisecondsText(wallMs / 10, 2) + " s with " +
                          std::to_string(run.lanes.size()) + " engines\n");
    }
    return status;
}

}  // namespace

int runTests(const std::vector<std::string>& words) {
    ignoreBrokenPipeSignal();
    ConsoleOutput console;
    RunSettings s;
    const CommandLineResult parsed = parseCommandLine(words, s);
    if (!parsed.error.empty()) {
        console.write(parsed.error + "\n" + usageText());
        return kExitUsage;
    }
    if (parsed.request == CommandLineRequest::Version) {
        console.write(versionLine() + "\n");
        return kExitOk;
    }
    if (parsed.request == CommandLineRequest::Help) {
        console.write(helpText());
        return kExitOk;
    }
    if (!s.compareFiles.empty()) {
        return compareResultFiles(s.compareFiles, s.plotFile, console) ? kExitOk : kExitFailure;
    }
    if (s.engineCommand.empty() && s.inputFile.empty() && s.resultFile.empty()) {
        console.write(usageText());
        return kExitOk;
    }
    completeSettings(s);
    if (s.nodeLimit > 0 && !s.useUci) {
        console.write("--nodes needs a UCI engine\n" + usageText());
        return kExitUsage;
    }
    if (const std::string conflict = overwriteConflict(s); !conflict.empty()) {
        console.write(conflict + "\n" + usageText());
        return kExitUsage;
    }
    auto run = std::make_unique<RunState>(std::move(s), std::move(console));
    const RunSettings& settings = run->settings;

    // Interrupts are taken on a thread of their own from here on.
    InterruptWatcher interrupts([&run = *run] { onConsoleControl(run); });

    if (const std::string failure = prepareOutputFiles(*run); !failure.empty()) {
        run->console.write(failure + "\n");
        return kExitFailure;
    }
    const auto read = [&](const std::string& file, std::vector<TestPosition>& list) {
        for (const std::string& message : readEpdFile(file, list))
            run->console.write(message + "\n");
    };
    std::vector<TestPosition> earlier;
    if (!settings.inputFile.empty()) read(settings.inputFile, run->suiteList);
    if (!settings.resultFile.empty()) read(settings.resultFile, earlier);
    if (run->suiteList.empty() && earlier.empty()) {
        run->console.write("No epd-position in files.\n");
        return kExitFailure;
    }
    if (!run->suiteList.empty()) {
        putInSuiteOrder(earlier, matchTested(run->suiteList, earlier));
    }
    setAsideOtherShards(run->suiteList, settings.shardIndex, settings.shardCount);
    setAsideTested(run->suiteList, earlier);
    run->watch.resultList = scoreRecords(std::move(earlier));
    if (!anyPositionLeft(run->suiteList)) return report(*run);
    return testWithEngine(*run);
}

}  // namespace tarnwick
