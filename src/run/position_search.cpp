#include "run/position_search.hpp"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "chess/legality.hpp"
#include "engine/board_setup.hpp"
#include "engine/uci_protocol.hpp"
#include "engine/xboard_protocol.hpp"
#include "run/engine_lines.hpp"
#include "run/heading.hpp"
#include "run/run_settings.hpp"

namespace tarnwick {

namespace {

using Clock = std::chrono::steady_clock;

// A search limited by depth or nodes replaces the timed search; the time per position still
// ends it.
std::string uciGoCommand(const RunSettings& s) {
    if (s.depthLimit == 0 && s.nodeLimit == 0) return std::string(kUciGo);
    std::string command = "go";
    if (s.depthLimit > 0) command += " depth " + std::to_string(s.depthLimit);
    if (s.nodeLimit > 0) command += " nodes " + std::to_string(s.nodeLimit);
    return command;
}

// Sends the clear command, the position and the search command of one position.
void sendPosition(RunState& run) {
    const RunSettings& s = run.settings;
    // The record keeps the castling rights and en-passant square as written.
    const std::string fen = fenToSend(run.watch.currentPosition.fenText());
    // A move of the last position that came after it was given up on must not end this one.
    run.searchEnded.reset();
    run.earlyStopDue.reset();
    run.engine.sendLine(s.clearCommand);
    if (s.useUci) {
        run.engine.sendLine(std::string(kUciPositionPrefix) + fen);
        run.engine.sendLine(uciGoCommand(s));
    } else {
        run.engine.sendLine(kWinboardForce);
        run.engine.sendLine(boardSetupText(s.boardSetupMethod, fen));
        run.engine.sendLine(kWinboardClocks);
        if (s.depthLimit > 0) run.engine.sendLine("sd " + std::to_string(s.depthLimit));
        run.engine.sendLine(kWinboardGo);
    }
    run.watch.searchInProgress = true;
}

std::chrono::milliseconds untilThen(Clock::time_point then) {
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::ceil<std::chrono::milliseconds>(then - Clock::now()));
}

}  // namespace

bool skipIfNotLegal(RunState& run, size_t index) {
    const TestPosition& entry = run.suiteList[index];
    const std::string reason = whyNotLegal(entry.fenText());
    if (reason.empty()) return false;
    {
        std::lock_guard lock(run.watch.runLock);
        installPosition(run.watch, entry);
        run.console.write(positionHeading(index + 1, run.suiteList.size(),
                                          run.watch.currentPosition, run.watch.scorer));
        run.console.write("Position " + (entry.id.empty() ? std::to_string(index + 1) : entry.id) +
                          " is not legal (" + reason + "); skipped.\n");
        run.watch.searchInProgress = true;
    }
    recordWithoutMove(run, RecordOutcome::skipped);
    return true;
}

PositionOutcome testPosition(RunState& run, size_t index) {
    {
        std::lock_guard lock(run.watch.runLock);
        installPosition(run.watch, run.suiteList[index]);
        run.console.write(positionHeading(index + 1, run.suiteList.size(),
                                          run.watch.currentPosition, run.watch.scorer));
        sendPosition(run);
    }
    const std::chrono::milliseconds period(run.settings.msPerPosition);
    Clock::time_point nextRequest = Clock::now() + period;
    std::optional<Clock::time_point> giveUp;
    if (run.settings.moveTimeoutSeconds > 0) {
        giveUp = nextRequest + std::chrono::seconds(run.settings.moveTimeoutSeconds);
    }
    const std::string_view moveNow = run.settings.useUci ? kUciStop : kWinboardMoveNow;
    // When the early stop is due; the far future while it is not.
    Clock::time_point earlyStop = Clock::time_point::max();
    for (;;) {
        Clock::time_point wakeAt = giveUp ? std::min(nextRequest, *giveUp) : nextRequest;
        wakeAt = std::min(wakeAt, earlyStop);
        // The end of the reader comes first: whether a move that arrived with it still
        // counts is for the caller to see.
        const int woken = waitForAny({&run.reader.ended(), &run.searchEnded, &run.earlyStopChanged},
                                     untilThen(wakeAt));
        if (run.interrupted) return PositionOutcome::Interrupted;
        if (woken == 1) return PositionOutcome::Finished;
        if (woken == 0) return PositionOutcome::EngineGone;
        if (giveUp && Clock::now() >= *giveUp) return PositionOutcome::Unanswered;
        std::lock_guard lock(run.watch.runLock);
        earlyStop = run.earlyStopDue.value_or(Clock::time_point::max());
        if (Clock::now() >= earlyStop) {
            // Asked once; the final move is then awaited as after the time per position.
            run.engine.sendLine(moveNow);
            run.earlyStopDue.reset();
            earlyStop = Clock::time_point::max();
        }
        if (Clock::now() >= nextRequest) {
            run.engine.sendLine(moveNow);
            nextRequest += period;
        }
    }
}

}  // namespace tarnwick
