#include "driver/position_test.hpp"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "chess/legality.hpp"
#include "driver/engine_lines.hpp"
#include "driver/heading.hpp"
#include "engine/board_setup.hpp"
#include "engine/uci_parser.hpp"
#include "engine/winboard_parser.hpp"

namespace tarnwick {

namespace {

using Clock = std::chrono::steady_clock;

// Sends the clear command, the position and the search command of one position.
void sendPosition(RunState& run) {
    const RunSettings& s = run.settings;
    // The record keeps the castling rights and en-passant square as written.
    const std::string fen = fenToSend(run.watch.currentPosition.fenText());
    // A move of the last position that came after it was given up on must not end this one.
    run.searchEnded.reset();
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
    recordWithoutMove(run);
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
    for (;;) {
        const Clock::time_point wakeAt = giveUp ? std::min(nextRequest, *giveUp) : nextRequest;
        // The end of the reader comes first: whether a move that arrived with it still
        // counts is for the caller to see.
        const int woken = waitForAny({&run.reader.ended(), &run.searchEnded}, untilThen(wakeAt));
        if (run.interrupted) return PositionOutcome::Interrupted;
        if (woken == 1) return PositionOutcome::Finished;
        if (woken == 0) return PositionOutcome::EngineGone;
        if (giveUp && Clock::now() >= *giveUp) return PositionOutcome::Unanswered;
        if (Clock::now() >= nextRequest) {
            std::lock_guard lock(run.watch.runLock);
            run.engine.sendLine(run.settings.useUci ? kUciStop : kWinboardMoveNow);
            nextRequest += period;
        }
    }
}

}  // namespace tarnwick
