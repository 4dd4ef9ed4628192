#include "engine/winboard_parser.hpp"

#include "text/text.hpp"

namespace tarnwick {

namespace {

bool startsLikeNumber(std::string_view token) {
    if (token.empty()) return false;
    const char c = token.front();
    return (c >= '0' && c <= '9') || c == '-' || c == '+';
}

}  // namespace

EngineEvent parseWinboardLine(std::string_view line) {
    const std::string_view text = trimmedView(line);
    const std::string_view first = nthTokenView(text, 1);

    // "12. ... Nf3" is the engine's move in the move-number form.
    if (nthTokenView(text, 2) == "..." && atoiValue(first) != 0) {
        return {EngineEventKind::FinalMove, std::string(nthTokenView(text, 3))};
    }
    if (first == "move") return {EngineEventKind::FinalMove, std::string(nthTokenView(text, 2))};
    if (first == "1-0" || first == "0-1" || first == "resign") {
        return {EngineEventKind::FinalMove, "resign"};
    }
    if (first == "1/2-1/2") return {EngineEventKind::FinalMove, "draw"};

    if (startsLikeNumber(first) && startsLikeNumber(nthTokenView(text, 2)) &&
        startsLikeNumber(nthTokenView(text, 3)) && startsLikeNumber(nthTokenView(text, 4))) {
        return {EngineEventKind::Analysis, std::string(text)};
    }
    return {};
}

}  // namespace tarnwick
