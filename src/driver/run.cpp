#include "driver/run.hpp"

#include <algorithm>
#include <memory>
#include <optional>

#include "driver/command_line.hpp"
#include "driver/console_control.hpp"
#include "driver/engine_lines.hpp"
#include "driver/engine_session.hpp"
#include "driver/output_checks.hpp"
#include "driver/position_test.hpp"
#include "driver/run_state.hpp"
#include "platform/interrupts.hpp"
#include "platform/system.hpp"
#include "suite/epd_file.hpp"
#include "suite/outcome_files.hpp"
#include "suite/report.hpp"
#include "suite/set_aside.hpp"

namespace tarnwick {

namespace {

// Restarts in a row that end before the engine finishes a position; at this many the engine
// is taken for broken and the run ends.
constexpr int kFailuresBeforeGivingUp = 3;

// Prints the report and writes the solved and unsolved files; false when one of them could
// not be written (the message is printed).
bool report(RunState& run) {
    ReportSettings settings;
    settings.msPerPosition = run.settings.msPerPosition;
    settings.timeDecimals = run.settings.timeDecimals;
    settings.goodOnlyFile = run.settings.goodOnlyFile;
    settings.notFoundFile = run.settings.notFoundFile;
    const std::string failure = printReport(run.watch.resultList, settings, run.console);
    if (!failure.empty()) run.console.write(failure + "\n");
    return failure.empty();
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
    const std::string& results = run.settings.resultFile;
    if (!results.empty()) {
        std::string reason;
        switch (run.resultFile.open(results, reason)) {
            case ResultFileOpen::opened:
                break;
            case ResultFileOpen::inUse:
                return "Result file " + results + " is in use by another run.";
            case ResultFileOpen::failed:
                return "Cannot write to " + results + ": " + reason;
        }
    }
    for (const std::string* file : {&run.settings.goodOnlyFile, &run.settings.notFoundFile}) {
        if (std::string failure = checkCanCreate(*file); !failure.empty()) return failure;
    }
    return {};
}

// How the position is named in messages: its id, or its number in the suite.
std::string positionName(const RunState& run, size_t index) {
    const std::string& id = run.suiteList[index].id;
    return id.empty() ? "position " + std::to_string(index + 1) : id;
}

// Records the position the engine failed on and says what happened; true when the engine
// exited before it finished the position.
bool recordFailure(RunState& run, size_t index, PositionOutcome outcome) {
    const bool recorded = recordWithoutMove(run);
    // A final move that came with the end of the output still counts; the engine is gone all
    // the same.
    const std::string message =
        outcome == PositionOutcome::Unanswered
            ? "Engine did not move within " + std::to_string(run.settings.moveTimeoutSeconds) +
                  " s after its time; restarting it.\n"
            : "Engine exited " + std::string(recorded ? "while" : "after") + " testing " +
                  positionName(run, index) + "; restarting it.\n";
    // The reader may still echo a hung engine's lines.
    std::lock_guard lock(run.watch.runLock);
    run.console.write(message);
    return recorded && outcome == PositionOutcome::EngineGone;
}

// Starts the engine again after it failed; false once it has failed too often in a row.
bool restartEngine(RunState& run, int& failuresInRow) {
    stopEngine(run);
    while (!run.interrupted) {
        if (failuresInRow >= kFailuresBeforeGivingUp) return false;
        if (!startEngine(run)) return true;
        ++failuresInRow;
    }
    return true;
}

// Tests the suite entries not set aside, in suite order. An engine that stops answering or
// exits is started again before the next position; EngineGone when it cannot be brought back.
PositionOutcome testPositions(RunState& run) {
    int failuresInRow = 0;
    bool restartDue = false;
    std::optional<size_t> last;  // the position tested last
    for (size_t i = 0; i < run.suiteList.size(); ++i) {
        if (run.suiteList[i].isEmpty()) continue;
        if (run.interrupted) return PositionOutcome::Interrupted;
        // Not sent, so the engine is neither crashed by it nor restarted for it.
        if (skipIfNotLegal(run, i)) {
            if (run.writeFailed) return PositionOutcome::Finished;
            continue;
        }
        // An engine that exited right after its final move is started again before it is given
        // the next position, which would otherwise be taken for the one it failed on.
        if (!restartDue && last && run.reader.ended().isSet() && !run.interrupted) {
            std::lock_guard lock(run.watch.runLock);
            run.console.write("Engine exited after testing " + positionName(run, *last) +
                              "; restarting it.\n");
            run.restartedAt.push_back(positionName(run, *last));
            restartDue = true;
        }
        if (restartDue && !restartEngine(run, failuresInRow)) return PositionOutcome::EngineGone;
        restartDue = false;
        if (run.interrupted) return PositionOutcome::Interrupted;
        const PositionOutcome outcome = testPosition(run, i);
        last = i;
        if (outcome == PositionOutcome::Interrupted || run.writeFailed) return outcome;
        if (outcome == PositionOutcome::Finished) {
            failuresInRow = 0;
            continue;
        }
        if (recordFailure(run, i, outcome)) ++failuresInRow;
        run.restartedAt.push_back(positionName(run, i));
        if (run.writeFailed) return outcome;
        restartDue = true;
    }
    return run.interrupted ? PositionOutcome::Interrupted : PositionOutcome::Finished;
}

// The report's last line when the engine had to be started again.
std::string restartsLine(const std::vector<std::string>& names) {
    std::string line = "Engine restarts: " + std::to_string(names.size()) + " (";
    for (size_t i = 0; i < names.size(); ++i) line += (i == 0 ? "" : ", ") + names[i];
    return line + ")\n";
}

// The run from the engine's start to its report; returns the exit status.
int testWithEngine(RunState& run) {
    if (const std::optional<int> failed = startEngine(run)) return *failed;
    size_t toTest = 0;
    for (const TestPosition& p : run.suiteList) toTest += p.isEmpty() ? 0 : 1;
    // Room for this run's results up front: growing a list of large records copies them all.
    run.watch.resultList.reserve(run.watch.resultList.size() + toTest);
    const size_t resultsBefore = run.watch.resultList.size();
    const PositionOutcome outcome = testPositions(run);
    endEngine(run);

    int status = run.restartedAt.empty() && !run.writeFailed ? kExitOk : kExitFailure;
    if (outcome == PositionOutcome::EngineGone && !run.interrupted && !run.writeFailed) {
        const size_t tested = run.watch.resultList.size() - resultsBefore;
        run.console.write("Engine exited during the run: " + std::to_string(toTest - tested) +
                          " of " + std::to_string(toTest) + " positions not tested.\n");
        status = kExitFailure;
    }
    if (!report(run)) status = kExitFailure;
    if (!run.restartedAt.empty()) run.console.write(restartsLine(run.restartedAt));
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
    if (parsed.request == CommandLineRequest::Help ||
        (s.engineCommand.empty() && s.inputFile.empty() && s.resultFile.empty())) {
        console.write(usageText());
        return kExitOk;
    }
    completeSettings(s);
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
    if (!settings.inputFile.empty()) read(settings.inputFile, run->suiteList);
    if (!settings.resultFile.empty()) read(settings.resultFile, run->watch.resultList);
    if (run->suiteList.empty() && run->watch.resultList.empty()) {
        run->console.write("No epd-position in files.\n");
        return kExitFailure;
    }
    setAsideTested(run->suiteList, run->watch.resultList);
    if (!anyPositionLeft(run->suiteList)) return report(*run) ? kExitOk : kExitFailure;
    return testWithEngine(*run);
}

}  // namespace tarnwick
