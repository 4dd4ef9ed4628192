#include "suite/scoring.hpp"

#include <algorithm>

#include "text/text.hpp"

namespace tarnwick {

namespace {

// The words of a move list with the moves they name; a word takes the points list's number at
// its running place (counted across the avoid moves, then the best moves), or defaultPoints.
std::vector<PositionScorer::NamedMove> readNamedMoves(const Board& board, std::string_view moves,
                                                      TokenCursor& pointsList,
                                                      int32_t defaultPoints) {
    std::vector<PositionScorer::NamedMove> named;
    forEachToken(moves, [&](std::string_view word) {
        const std::string_view number = pointsList.next();
        named.push_back({std::string(word), board.parseMove(word),
                         number.empty() ? defaultPoints : atoiValue(number)});
        return true;
    });
    return named;
}

// The first named move that is move, or nullptr.
const PositionScorer::NamedMove* find(const std::vector<PositionScorer::NamedMove>& named,
                                      const Move& move) {
    for (const PositionScorer::NamedMove& entry : named) {
        if (entry.move.isValid() && sameMove(entry.move, move)) return &entry;
    }
    return nullptr;
}

}  // namespace

PositionScorer::PositionScorer(const TestPosition& position) {
    board_.setFromFen(position.fenText());
    TokenCursor pointsList(position.c[1]);
    avoid_ = readNamedMoves(board_, position.am, pointsList, -1);
    best_ = readNamedMoves(board_, position.bm, pointsList, 1);

    maximum_ = position.bm.empty() ? 0 : 1;
    forEachToken(position.c[1], [&](std::string_view number) {
        maximum_ = std::max(maximum_, atoiValue(number));
        return true;
    });
}

int32_t PositionScorer::points(const Move& move) const {
    if (const NamedMove* avoid = find(avoid_, move)) return avoid->points;
    if (const NamedMove* best = find(best_, move)) return best->points;
    return 0;
}

int32_t PositionScorer::pointsOfText(std::string_view text) const {
    if (text.empty()) return 0;
    const Move move = board_.parseMove(text);
    return move.isValid() ? points(move) : 0;
}

}  // namespace tarnwick
