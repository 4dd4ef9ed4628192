#include "suite/scoring.hpp"

#include <algorithm>
#include <string_view>

#include "chess/board.hpp"
#include "text/text.hpp"

namespace tarnwick {

int32_t maxPoints(const TestPosition& position) {
    int32_t best = position.bm.empty() ? 0 : 1;
    forEachToken(position.c[1], [&](std::string_view token) {
        best = std::max(best, atoiValue(token));
        return true;
    });
    return best;
}

int32_t movePoints(const TestPosition& position, const Move& move) {
    Board board;
    board.setFromFen(position.fenText());
    int running = 0;
    int32_t points = 0;
    bool found = false;
    // Scans one move list; a match takes the points list's number at its running place.
    auto scan = [&](const std::string& moves, int32_t defaultPoints) {
        forEachToken(moves, [&](std::string_view word) {
            ++running;
            const Move named = board.parseMove(word);
            if (!named.isValid() || !sameMove(named, move)) return true;
            const std::string_view number = nthTokenView(position.c[1], running);
            points = number.empty() ? defaultPoints : atoiValue(number);
            found = true;
            return false;
        });
    };
    scan(position.am, -1);
    if (!found) scan(position.bm, 1);
    return found ? points : 0;
}

void PositionScorer::prepare(const TestPosition& position) {
    std::string key = position.fenText();
    key.append("\n").append(position.am).append("\n").append(position.bm).append("\n");
    key.append(position.c[1]);
    if (prepared_ && key == key_) return;
    key_ = std::move(key);
    prepared_ = true;
    board_.setFromFen(position.fenText());
    maximum_ = maxPoints(position);
    named_.clear();
    int running = 0;
    auto collect = [&](const std::string& moves, int32_t defaultPoints) {
        forEachToken(moves, [&](std::string_view word) {
            ++running;
            const Move move = board_.parseMove(word);
            if (!move.isValid()) return true;
            const std::string_view number = nthTokenView(position.c[1], running);
            named_.push_back({move, number.empty() ? defaultPoints : atoiValue(number)});
            return true;
        });
    };
    collect(position.am, -1);
    collect(position.bm, 1);
}

int32_t PositionScorer::points(const Move& move) const {
    for (const Named& named : named_) {
        if (sameMove(named.move, move)) return named.points;
    }
    return 0;
}

}  // namespace tarnwick
