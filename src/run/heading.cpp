#include "run/heading.hpp"

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
    if (scorer.isMateTest()) {
        const int32_t moves = scorer.mateTarget();
        text += moves > 0 ? "mate in " + std::to_string(moves) + " "
                          : "mated in " + std::to_string(-moves) + " ";
    } else if (scorer.isPointsSuite()) {
        appendMoves(scorer.pointsList());
    } else {
        appendMoves(scorer.bestMoves());
        appendMoves(scorer.avoidMoves());
    }
    text += "\n";
    const std::vector<std::string> unreadable = scorer.unreadableMoves();
    if (!unreadable.empty()) {
        text += "Moves that cannot be read:";
        for (const std::string& word : unreadable) text += " " + word;
        text += "\n";
    }
    return text;
}

}  // namespace tarnwick
