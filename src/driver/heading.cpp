#include "driver/heading.hpp"

namespace tarnwick {

std::string positionHeading(size_t number, size_t total, const TestPosition& position,
                            const PositionScorer& scorer) {
    std::string text = "\n" + std::to_string(number) + "/" + std::to_string(total) +
                       " Id: " + position.id + "\nmoves: ";
    auto appendMoves = [&](const std::vector<PositionScorer::NamedMove>& moves) {
        for (const PositionScorer::NamedMove& named : moves) {
            text += named.text;
            text += named.move.isValid() ? "(" + std::to_string(scorer.points(named.move)) + ") "
                                         : "(*) ";
        }
    };
    appendMoves(scorer.bestMoves());
    appendMoves(scorer.avoidMoves());
    text += "\n";
    return text;
}

}  // namespace tarnwick
