#include "run/engine_session.hpp"

#include <algorithm>
#include <string>

#include "engine/uci_protocol.hpp"
#include "engine/xboard_protocol.hpp"
#include "platform/system.hpp"
#include "run/engine_lines.hpp"
#include "run/run.hpp"

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

// The pause after the engine's initialisation; an interrupt ends it early.
void pauseUnlessInterrupted(RunState& run, int milliseconds) {
    constexpr int kSlice = 50;
    for (int waited = 0; waited < milliseconds && !run.interrupted; waited += kSlice) {
        sleepMilliseconds(std::min(kSlice, milliseconds - waited));
    }
}

}  // namespace

std::optional<int> startEngine(RunState& run) {
    const RunSettings& s = run.settings;
    run.console.write("Starting engine: " + s.engineCommand + "\n");
    if (run.engine.start(s.engineCommand) == 0) {
        run.engine.stop();
        run.console.write("Error starting engine.\n");
        return kExitFailure;
    }
    run.engineStarted = true;
    run.reader.setInput(run.engine.fromEngine());
    run.reader.setHandler(&onEngineLine, &run);
    run.reader.setOverlongHandler([](void* r) { onOverlongEngineLine(*static_cast<RunState*>(r)); },
                                  &run);
    run.reader.start();
    {
        // The reader may be echoing an early line already.
        std::lock_guard lock(run.watch.runLock);
        run.console.write("Initiate the engine\n");
    }

    if (s.useUci) {
        const std::string failure = initialiseUci(run);
        if (!failure.empty()) {
            stopEngine(run);
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

namespace {

void quitEngine(RunState& run, bool forGood) {
    {
        std::lock_guard lock(run.watch.runLock);
        if (forGood) run.ending = true;
        run.engine.sendRaw("quit\n");
    }
    run.reader.stop();
    run.engine.stop();
}

}  // namespace

void stopEngine(RunState& run) {
    quitEngine(run, false);
}

void endEngine(RunState& run) {
    quitEngine(run, true);
}

}  // namespace tarnwick
