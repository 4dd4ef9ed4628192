#include "engine/xboard_protocol.hpp"

#include "engine/board_setup.hpp"
#include "engine/winboard_score.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// Commands sent to a WinBoard engine.
constexpr std::string_view kWinboardDefaultSetup = "xboard\nhard\neasy\nnew\nlevel 1 1440 0\npost";
constexpr std::string_view kWinboardDefaultClear = "new";
// Sent after the clear command: an engine left playing the side to move starts searching as soon
// as the position is set, and "go" then makes it play a second move for the other side, which
// would arrive during the next position's search and end it.
constexpr std::string_view kWinboardForce = "force";
constexpr std::string_view kWinboardClocks = "time 8640000\notim 8640000";
constexpr std::string_view kWinboardGo = "go";
constexpr std::string_view kWinboardMoveNow = "?";

bool startsLikeNumber(std::string_view token) {
    if (token.empty()) return false;
    const char c = token.front();
    return (c >= '0' && c <= '9') || c == '-' || c == '+';
}

EngineEvent finalMove(std::string_view move) {
    return BestMove{std::string(move)};
}

// A thinking line "depth score time nodes variation...", echoed as the engine wrote it.
EngineEvent thinkingLine(std::string_view text, const std::string_view (&numbers)[4],
                         std::string_view variation) {
    AnalysisLine line;
    line.depth = atoiValue(numbers[0]);
    line.score = winboardScore(atoiValue(numbers[1]));
    line.time = atoiValue(numbers[2]);
    line.nodes = atoiValue(numbers[3]);
    line.echo = text;
    line.variationStart =
        variation.empty() ? line.echo.size() : static_cast<size_t>(variation.data() - text.data());
    return line;
}

// The quoted value of myname in a feature line, when it has one.
EngineEvent engineName(std::string_view features) {
    constexpr std::string_view kKey = "myname=\"";
    const size_t at = features.find(kKey);
    if (at == std::string_view::npos) return NoEvent{};
    const size_t start = at + kKey.size();
    const size_t end = features.find('"', start);
    if (end == std::string_view::npos || end == start) return NoEvent{};
    return EngineName{std::string(features.substr(start, end - start))};
}

}  // namespace

EngineEvent parseWinboardLine(std::string_view line) {
    const std::string_view text = trimmedView(line);
    TokenCursor cursor(text);
    const std::string_view words[4] = {cursor.next(), cursor.next(), cursor.next(), cursor.next()};
    const std::string_view first = words[0];

    // "12. ... Nf3" is the engine's move in the move-number form.
    if (words[1] == "..." && atoiValue(first) != 0) return finalMove(words[2]);
    if (first == "move") return finalMove(words[1]);
    if (first == "1-0" || first == "0-1" || first == "resign") return finalMove("resign");
    if (first == "1/2-1/2") return finalMove("draw");

    if (first == "feature") return engineName(text);
    // "Error (unknown command): sd", and a command taken for a move: "Illegal move: sd 5",
    // "Invalid move: sd 5".
    if (first.starts_with("Error") ||
        ((first == "Illegal" || first == "Invalid") && words[1].starts_with("move"))) {
        return Rejected{std::string(text)};
    }
    if (startsLikeNumber(words[0]) && startsLikeNumber(words[1]) && startsLikeNumber(words[2]) &&
        startsLikeNumber(words[3])) {
        return thinkingLine(text, words, cursor.rest());
    }
    return NoEvent{};
}

XboardProtocol::XboardProtocol(EngineSettings settings) : Protocol(std::move(settings)) {
    if (settings_.clearCommand.empty()) settings_.clearCommand = kWinboardDefaultClear;
    if (settings_.setupCommand.empty()) settings_.setupCommand = kWinboardDefaultSetup;
}

std::string XboardProtocol::unsupported(const SearchLimits& limits) const {
    if (limits.nodes > 0) return "--nodes needs a UCI engine";
    return settings_.multipv > 0 ? "--multipv needs a UCI engine" : "";
}

std::vector<HandshakeStep> XboardProtocol::handshake() const {
    return {{settings_.setupCommand, std::nullopt, {}}};
}

std::string_view XboardProtocol::moveNow() const {
    return kWinboardMoveNow;
}

std::vector<std::string> XboardProtocol::startSearch(const SearchStart& start,
                                                     const SearchLimits& limits) const {
    std::vector<std::string> commands = {settings_.clearCommand, std::string(kWinboardForce),
                                         boardSetupText(settings_.boardSetup, start.fen),
                                         std::string(kWinboardClocks)};
    if (limits.depth > 0) commands.push_back("sd " + std::to_string(limits.depth));
    commands.emplace_back(kWinboardGo);
    return commands;
}

}  // namespace tarnwick
