#include "engine/uci_protocol.hpp"

#include <charconv>
#include <iterator>
#include <utility>

#include "text/text.hpp"

namespace tarnwick {

namespace {

// Commands sent to a UCI engine.
constexpr std::string_view kUciCommand = "uci";
constexpr std::string_view kUciIsReady = "isready";
constexpr std::string_view kUciDefaultClear = "ucinewgame";
constexpr std::string_view kUciPositionPrefix = "position fen ";
constexpr std::string_view kUciGo = "go wtime 7200000 btime 7200000 movestogo 1";
constexpr std::string_view kUciStop = "stop";

// Reads the N of "cp N" or "mate N" after "score"; any other kind consumes nothing more, so what
// follows is read as keys and skipped.
void readScore(std::string_view kind, TokenCursor& cursor, AnalysisLine& info) {
    if (kind == "cp") {
        info.score = {Score::Kind::centipawns, atoiValue(cursor.next()), std::nullopt};
    } else if (kind == "mate") {
        info.score = {Score::Kind::mate, atoiValue(cursor.next()), std::nullopt};
    }
}

void appendNumber(std::string& text, int32_t number) {
    char digits[12];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
    text.append(digits, result.ptr);
}

}  // namespace

AnalysisLine readSearchInfo(std::string_view keys) {
    AnalysisLine info;
    TokenCursor cursor(keys);
    std::string_view variation;
    bool kindNext = false;  // the word after "score" names its kind
    for (std::string_view key = cursor.next(); !key.empty(); key = cursor.next()) {
        const bool isKind = std::exchange(kindNext, false);
        // A bound counts both as a key and as the kind of a score.
        if (key == "lowerbound" || key == "upperbound") {
            info.bound = true;
        } else if (isKind) {
            readScore(key, cursor, info);
        } else if (key == "depth") {
            info.depth = atoiValue(cursor.next());
        } else if (key == "time") {
            info.time = atoiValue(cursor.next()) / 10;
        } else if (key == "nodes") {
            info.nodes = atoiValue(cursor.next());
        } else if (key == "score") {
            kindNext = true;
        } else if (key == "multipv") {
            info.multipv = atoiValue(cursor.next());
        } else if (key == "pv") {
            // The variation runs to the end of the line.
            variation = cursor.rest();
            break;
        }
    }
    if (variation.empty()) return info;
    info.echo.reserve(48 + variation.size());
    appendNumber(info.echo, info.depth);
    info.echo += ' ';
    appendNumber(info.echo, info.score.centipawns());
    info.echo += ' ';
    appendNumber(info.echo, info.time);
    info.echo += ' ';
    appendNumber(info.echo, info.nodes);
    info.variationStart = info.echo.size() + 1;
    forEachToken(variation, [&](std::string_view move) {
        info.echo += ' ';
        info.echo += move;
        return true;
    });
    return info;
}

EngineEvent parseUciLine(std::string_view line) {
    TokenCursor cursor(line);
    const std::string_view keyword = cursor.next();
    if (keyword == "info") {
        AnalysisLine analysis = readSearchInfo(cursor.rest());
        if (analysis.variation().empty()) return NoEvent{};
        return analysis;
    }
    if (keyword == "bestmove") return BestMove{std::string(cursor.next())};
    if (keyword == "uciok") return Answered{Answer::uciOk};
    if (keyword == "readyok") return Answered{Answer::readyOk};
    if (keyword == "id" && cursor.next() == "name" && !cursor.rest().empty()) {
        return EngineName{std::string(cursor.rest())};
    }
    return NoEvent{};
}

UciProtocol::UciProtocol(EngineSettings settings) : Protocol(std::move(settings)) {
    if (settings_.clearCommand.empty()) settings_.clearCommand = kUciDefaultClear;
}

std::string UciProtocol::unsupported(const SearchLimits&) const {
    return {};
}

std::vector<HandshakeStep> UciProtocol::handshake() const {
    std::string multipv;
    if (settings_.multipv > 0) {
        multipv = "setoption name MultiPV value " + std::to_string(settings_.multipv);
    }
    return {{std::string(kUciCommand), Answer::uciOk, "Engine did not answer uci."},
            {settings_.options, std::nullopt, {}},
            {multipv, std::nullopt, {}},
            {settings_.setupCommand, std::nullopt, {}},
            {std::string(kUciIsReady), Answer::readyOk, "Engine did not answer isready."}};
}

std::string_view UciProtocol::moveNow() const {
    return kUciStop;
}

std::vector<std::string> UciProtocol::startSearch(const SearchStart& start,
                                                  const SearchLimits& limits) const {
    // A search limited by depth or nodes replaces the timed search; the time per position still
    // ends it.
    std::string go(kUciGo);
    if (limits.depth > 0 || limits.nodes > 0) {
        go = "go";
        if (limits.depth > 0) go += " depth " + std::to_string(limits.depth);
        if (limits.nodes > 0) go += " nodes " + std::to_string(limits.nodes);
    }
    // A game's moves let the engine see its history: repetitions, the fifty-move count.
    std::string position = std::string(kUciPositionPrefix);
    if (start.gameFen.empty()) {
        position += start.fen;
    } else {
        position += start.gameFen + (start.moves.empty() ? "" : " moves " + start.moves);
    }
    return {settings_.clearCommand, position, go};
}

}  // namespace tarnwick
