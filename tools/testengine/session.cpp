#include "testengine/session.hpp"

#include "text/text.hpp"

namespace tarnwick::testengine {

std::vector<std::string> wordsOf(std::string_view line) {
    std::vector<std::string> words;
    for (int n = 1;; ++n) {
        std::string word = nthToken(line, n);
        if (word.empty()) return words;
        words.push_back(std::move(word));
    }
}

Move readMove(const Board& board, std::string_view text) {
    const Move move = board.parseMove(text);
    if (move.parseStatus != ParseFound || move.from == move.to) return Move{};
    return move;
}

}  // namespace tarnwick::testengine
