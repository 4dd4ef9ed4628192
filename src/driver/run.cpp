#include "driver/run.hpp"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

#include "driver/command_line.hpp"
#include "driver/console_control.hpp"
#include "driver/engine_lines.hpp"
#include "driver/heading.hpp"
#include "driver/run_state.hpp"
#include "engine/board_setup.hpp"
#include "engine/uci_parser.hpp"
#include "engine/winboard_parser.hpp"
#include "platform/interrupts.hpp"
#include "platform/system.hpp"
#include "suite/epd_file.hpp"
#include "suite/report.hpp"
#include "suite/set_aside.hpp"

namespace tarnwick {

namespace {

// How long a UCI engine may take to answer "uci" and "isready".
constexpr int kHandshakeTimeoutMs = 60500;

// The line handler of the engine's reading thread.
bool onEngineLine(std::string_view line, void* user) {
    RunState& run = *static_cast<RunState*>(user);
    onEngineEvent(run, run.settings.useUci ? parseUciLine(line) : parseWinboardLine(line));
    return true;
}

void report(RunState& run) {
    ReportSettings settings;
    settings.secondsPerPosition = run.settings.secondsPerPosition;
    settings.goodOnlyFile = run.settings.goodOnlyFile;
    settings.notFoundFile = run.settings.notFoundFile;
    printReport(run.watch.resultList, settings, run.console);
}

bool anyPositionLeft(const std::vector<TestPosition>& suite) {
    for (const TestPosition& p : suite) {
        if (!p.isEmpty()) return true;
    }
    return false;
}

// Sends a command and waits for the flag its answer raises; false when no answer came.
bool handshake(RunState& run, std::string_view command, bool& flag) {
    run.handshake.clear(flag);
    run.engine.sendLine(command);
    return run.handshake.waitFor(flag, kHandshakeTimeoutMs, run.interrupted, run.reader);
}

// Brings a UCI engine into the dialogue; returns the message when it does not answer.
std::string initialiseUci(RunState& run) {
    if (!handshake(run, kUciCommand, run.handshake.uciOkSeen)) {
        return "Engine did not answer uci.";
    }
    if (!run.settings.engineOptions.empty()) run.engine.sendLine(run.settings.engineOptions);
    if (!run.settings.setupCommand.empty()) run.engine.sendLine(run.settings.setupCommand);
    if (!handshake(run, kUciIsReady, run.handshake.readyOkSeen)) {
        return "Engine did not answer isready.";
    }
    return {};
}

// Sends the clear command, the position and the search command of one position.
void sendPosition(RunState& run) {
    const RunSettings& s = run.settings;
    const std::string fen = run.watch.currentPosition.fenText();
    run.engine.sendLine(s.clearCommand);
    if (s.useUci) {
        run.engine.sendLine(std::string(kUciPositionPrefix) + fen);
        run.engine.sendLine(kUciGo);
    } else {
        run.engine.sendLine(kWinboardForce);
        run.engine.sendLine(boardSetupText(s.boardSetupMethod, fen));
        run.engine.sendLine(kWinboardClocks);
        run.engine.sendLine(kWinboardGo);
    }
    run.watch.searchInProgress = true;
}

// The pause after the engine's initialisation; an interrupt ends it early.
void pauseUnlessInterrupted(RunState& run, int milliseconds) {
    constexpr int kSlice = 50;
    for (int waited = 0; waited < milliseconds && !run.interrupted; waited += kSlice) {
        sleepMilliseconds(std::min(kSlice, milliseconds - waited));
    }
}

enum class PositionOutcome { Finished, EngineGone, Interrupted };

// Tests suite entry index: sets it up, starts the search and waits for the final move,
// asking the engine to move once per period of the time per position.
PositionOutcome testPosition(RunState& run, size_t index) {
    {
        std::lock_guard lock(run.watch.runLock);
        installPosition(run.watch, run.suiteList[index]);
        run.console.write(positionHeading(index + 1, run.suiteList.size(),
                                          run.watch.currentPosition, run.watch.scorer));
        sendPosition(run);
    }
    const std::chrono::milliseconds period(int64_t{run.settings.secondsPerPosition} * 1000);
    for (;;) {
        // The end of the reader comes first: an engine gone ends the run even when its last
        // move arrived at the same time.
        const int woken = waitForAny({&run.reader.ended(), &run.searchEnded}, period);
        if (run.interrupted) return PositionOutcome::Interrupted;
        if (woken == 1) return PositionOutcome::Finished;
        if (woken == 0) return PositionOutcome::EngineGone;
        std::lock_guard lock(run.watch.runLock);
        run.engine.sendLine(run.settings.useUci ? kUciStop : kWinboardMoveNow);
    }
}

// Quits the engine and stops the reader and the engine.
void endEngine(RunState& run) {
    {
        std::lock_guard lock(run.watch.runLock);
        run.ending = true;
        run.engine.sendRaw("quit\n");
    }
    run.reader.stop();
    run.engine.stop();
}

// Starts the engine and its reader and brings the engine into the dialogue; the exit status
// when that fails.
std::optional<int> startEngine(RunState& run) {
    const RunSettings& s = run.settings;
    run.console.write("Starting engine: " + s.engineCommand + "\n");
    if (run.engine.start(s.engineCommand) == 0) {
        run.engine.stop();
        run.console.write("Error starting engine.\n");
        return kExitFailure;
    }
    run.reader.setInput(run.engine.fromEngine());
    run.reader.setHandler(&onEngineLine, &run);
    run.reader.setOverlongHandler([](void* r) { onOverlongEngineLine(*static_cast<RunState*>(r)); },
                                  &run);
    run.reader.start();
    run.console.write("Initiate the engine\n");

    if (s.useUci) {
        const std::string failure = initialiseUci(run);
        if (!failure.empty()) {
            endEngine(run);
            if (run.interrupted) return kExitOk;
            run.console.write(failure + "\n");
            return kExitFailure;
        }
    } else {
        run.engine.sendLine(s.setupCommand);
    }
    pauseUnlessInterrupted(run, s.initMilliseconds);
    return std::nullopt;
}

// Tests the suite entries not set aside, in suite order, until one does not finish.
PositionOutcome testPositions(RunState& run) {
    for (size_t i = 0; i < run.suiteList.size(); ++i) {
        if (run.interrupted) return PositionOutcome::Interrupted;
        if (run.suiteList[i].isEmpty()) continue;
        const PositionOutcome outcome = testPosition(run, i);
        if (outcome != PositionOutcome::Finished) return outcome;
    }
    return PositionOutcome::Finished;
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

    int status = kExitOk;
    if (outcome == PositionOutcome::EngineGone && !run.interrupted) {
        const size_t tested = run.watch.resultList.size() - resultsBefore;
        run.console.write("Engine exited during the run: " + std::to_string(toTest - tested) +
                          " of " + std::to_string(toTest) + " positions not tested.\n");
        status = kExitFailure;
    }
    report(run);
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
    auto run = std::make_unique<RunState>(std::move(s), std::move(console));
    const RunSettings& settings = run->settings;

    // Interrupts are taken on a thread of their own from here on.
    InterruptWatcher interrupts([&run = *run] { onConsoleControl(run); });

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
    if (!anyPositionLeft(run->suiteList)) {
        report(*run);
        return kExitOk;
    }
    return testWithEngine(*run);
}

}  // namespace tarnwick
