#include "run/lane.hpp"

#include <algorithm>
#include <chrono>
#include <variant>

#include "engine/protocol_choice.hpp"
#include "text/line_limit.hpp"

namespace tarnwick {

namespace {

// How long an engine may take to give an answer of its start-up dialogue.
constexpr std::chrono::milliseconds kHandshakeTimeout(60500);
// Restarts in a row that end before the engine finishes a position; at this many the engine
// is taken for broken and the lane ends.
constexpr int kFailuresBeforeGivingUp = 3;

}  // namespace

Lane::Lane(RunContext& run, size_t number, std::unique_ptr<EngineLink> link)
    : run_(run),
      number_(number),
      link_(std::move(link)),
      protocol_(makeProtocol(run.settings().engine)) {}

Lane::~Lane() {
    link_->stop();
}

std::string Lane::engineName() const {
    std::lock_guard lock(lock_);
    return engineName_;
}

void Lane::say(std::string_view text) {
    run_.console().write(number_, text);
}

std::optional<PositionOutcome> Lane::run() {
    std::optional<PositionOutcome> outcome;
    if (startEngine()) {
        run_.console().endBlock(number_);
        outcome = testPositions();
        stopEngine(true);
    }
    run_.console().leave(number_);
    return outcome;
}

void Lane::interrupt() {
    // Not under lock_: a reading thread that holds it while the screen or the disk is stuck must
    // not keep the second interrupt from killing the engine. The run is marked interrupted
    // before this, which keeps a move sent in answer to "quit" from being stored.
    //
    // A write blocked on a full pipe gives up now, and no later one waits, so the lane reaches
    // its end steps; nothing the lane queues after the "quit" reaches the engine. While the
    // lane is ending the engine has had its "quit" already.
    link_->close(ending_ ? "" : "quit");
    searchEnded_.set();
}

// The engine's lines, on the link's reading thread.

void Lane::onLine(std::string_view line) {
    run_.log().read(number_, line);
    const EngineEvent event = protocol_->read(line);
    if (const auto* analysis = std::get_if<AnalysisLine>(&event)) {
        onAnalysis(*analysis);
    } else if (const auto* best = std::get_if<BestMove>(&event)) {
        onBestMove(best->move);
    } else if (const auto* answered = std::get_if<Answered>(&event)) {
        onAnswer(answered->answer);
    } else if (const auto* name = std::get_if<EngineName>(&event)) {
        std::lock_guard lock(lock_);
        engineName_ = name->name;
    } else if (const auto* rejected = std::get_if<Rejected>(&event)) {
        run_.rejected(number_, rejected->line);
    }
}

void Lane::onAnalysis(const AnalysisLine& line) {
    std::lock_guard lock(lock_);
    const LineJudgement judgement = onAnalysisLine(watch_, line);
    if (judgement.earlyStopChanged) earlyStopChanged_.set();
    run_.console().line(number_, line.echo, judgement.fullScore);
}

void Lane::onBestMove(const std::string& move) {
    // A move after an interrupt ends a search that was cut short: stored, it would make a
    // resumed run take that position for tested.
    if (run_.interrupted()) return;
    std::lock_guard lock(lock_);
    const std::optional<FinalMove> final = endSearch(move, RecordOutcome::moved);
    if (!final) return;
    if (final->legal) {
        run_.console().line(number_, move, final->fullScore);
    } else {
        run_.console().line(number_, "Move error: " + move);
    }
    searchEnded_.set();
}

void Lane::onAnswer(Answer answer) {
    answers_[static_cast<size_t>(answer)].set();
}

void Lane::onWritten(std::string_view command) {
    run_.log().sent(number_, command);
}

void Lane::onOverlongLine() {
    std::lock_guard lock(lock_);
    if (std::exchange(watch_.overlongSaid, true)) return;
    run_.console().line(number_, "Engine line longer than " + lineLimitText(kMaxLineBytes) +
                                     "; the rest of it was discarded.");
}

std::optional<FinalMove> Lane::endSearch(std::string_view move, RecordOutcome outcome) {
    std::optional<FinalMove> final = onFinalMove(watch_, move);
    if (!final) return final;
    if (puzzle_) {
        final->fullScore = takePuzzleStep(*final, move, outcome);
    } else if (run_.store(number_, current_, final->result, outcome, watch_.engineTime)) {
        recorded_ = final->result.verdict.solved;
    }
    return final;
}

// The engine's life.

bool Lane::startEngine() {
    const std::string& command = run_.settings().engine.command;
    say("Starting engine: " + command + "\n");
    if (std::string why; !link_->start(command, *this, why)) {
        say("Error starting engine.\n" + (why.empty() ? "" : why + "\n"));
        return false;
    }
    say("Initiate the engine\n");
    if (const std::string_view failure = handshake(); !failure.empty()) {
        stopEngine(false);
        if (!run_.interrupted()) say(std::string(failure) + "\n");
        return false;
    }
    run_.pause(std::chrono::milliseconds(run_.settings().initMilliseconds));
    return true;
}

std::string_view Lane::handshake() {
    for (const HandshakeStep& step : protocol_->handshake()) {
        Event* answered = step.awaited ? &answers_[static_cast<size_t>(*step.awaited)] : nullptr;
        if (answered) answered->reset();
        if (!step.command.empty()) link_->send(step.command);
        // An answer that came wins over the end of the output or an interrupt.
        if (answered && waitForAny({answered, &link_->ended(), &run_.interruptedEvent()},
                                   kHandshakeTimeout) != 0) {
            return step.failure;
        }
    }
    return {};
}

void Lane::stopEngine(bool forGood) {
    if (forGood) ending_ = true;
    link_->send("quit");
    link_->stop();
}

bool Lane::restartEngine(int& failuresInRow) {
    stopEngine(false);
    while (!run_.interrupted()) {
        if (failuresInRow >= kFailuresBeforeGivingUp) return false;
        if (startEngine()) return true;
        ++failuresInRow;
    }
    return true;
}

}  // namespace tarnwick
