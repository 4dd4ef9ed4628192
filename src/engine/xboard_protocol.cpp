#include "engine/xboard_protocol.hpp"

#include "engine/winboard_score.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

bool startsLikeNumber(std::string_view token) {
    if (token.empty()) return false;
    const char c = token.front();
    return (c >= '0' && c <= '9') || c == '-' || c == '+';
}

EngineEvent finalMove(std::string_view move) {
    EngineEvent event;
    event.kind = EngineEventKind::FinalMove;
    event.move = move;
    return event;
}

// A thinking line "depth score time nodes variation...", echoed as the engine wrote it.
EngineEvent thinkingLine(std::string_view text, const std::string_view (&numbers)[4],
                         std::string_view variation) {
    EngineEvent event;
    event.kind = EngineEventKind::Analysis;
    AnalysisLine& line = event.analysis;
    line.depth = atoiValue(numbers[0]);
    line.score = winboardScore(atoiValue(numbers[1]));
    line.time = atoiValue(numbers[2]);
    line.nodes = atoiValue(numbers[3]);
    line.echo = text;
    line.variationStart =
        variation.empty() ? line.echo.size() : static_cast<size_t>(variation.data() - text.data());
    return event;
}

}  // namespace

// The quoted value of myname in a feature line, when it has one.
EngineEvent engineName(std::string_view features) {
    constexpr std::string_view kKey = "myname=\"";
    const size_t at = features.find(kKey);
    if (at == std::string_view::npos) return {};
    const size_t start = at + kKey.size();
    const size_t end = features.find('"', start);
    if (end == std::string_view::npos || end == start) return {};
    EngineEvent event;
    event.kind = EngineEventKind::EngineName;
    event.move = features.substr(start, end - start);
    return event;
}

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
    if (startsLikeNumber(words[0]) && startsLikeNumber(words[1]) && startsLikeNumber(words[2]) &&
        startsLikeNumber(words[3])) {
        return thinkingLine(text, words, cursor.rest());
    }
    return {};
}

}  // namespace tarnwick
