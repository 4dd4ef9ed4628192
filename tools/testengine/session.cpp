#include "testengine/session.hpp"

#include "text/text.hpp"

namespace tarnwick::testengine {

std::vector<std::string> wordsOf(std::string_view line) {
    std::vector<std::string> words;
    forEachToken(line, [&](std::string_view word) {
        words.emplace_back(word);
        return true;
    });
    return words;
}

Move readMove(const Board& board, std::string_view text) {
    const Move move = board.parseMove(text);
    if (move.parseStatus != ParseFound || move.from == move.to) return Move{};
    return move;
}

}  // namespace tarnwick::testengine
