#include "driver/heading.hpp"

#include "chess/board.hpp"
#include "suite/scoring.hpp"
#include "text/text.hpp"

namespace tarnwick {

std::string positionHeading(size_t number, size_t total, const TestPosition& position) {
    Board board;
    board.setFromFen(position.fenText());
    std::string text = "\n" + std::to_string(number) + "/" + std::to_string(total) +
                       " Id: " + position.id + "\nmoves: ";
    auto appendMoves = [&](const std::string& moves) {
        forEachToken(moves, [&](std::string_view word) {
            text += word;
            const Move move = board.parseMove(word);
            if (move.isValid()) {
                text += "(" + std::to_string(movePoints(position, move)) + ") ";
            } else {
                text += "(*) ";
            }
            return true;
        });
    };
    appendMoves(position.bm);
    appendMoves(position.am);
    text += "\n";
    return text;
}

}  // namespace tarnwick
