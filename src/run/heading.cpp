#include "run/heading.hpp"

namespace tarnwick {

namespace {

// "moves: ..." and, when some cannot be read, the line that says which.
std::string movesText(const PositionScorer& scorer) {
    std::string text = "moves: ";
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

}  // namespace

std::string positionHeading(size_t number, size_t total, const TestPosition& position,
                            const PositionScorer& scorer) {
    return "\n" + std::to_string(number) + "/" + std::to_string(total) + " Id: " + position.id +
           "\n" + movesText(scorer);
}

std::string puzzleStepHeading(size_t step, size_t steps, std::string_view opponentMove,
                              const PositionScorer& scorer) {
    return "Step " + std::to_string(step) + " of " + std::to_string(steps) + ", after " +
           std::string(opponentMove) + "\n" + movesText(scorer);
}

}  // namespace tarnwick
