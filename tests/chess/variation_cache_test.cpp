#include <gtest/gtest.h>

#include <random>

#include "chess/movegen.hpp"
#include "chess/notation.hpp"

namespace tarnwick {
namespace {

// A line of coordinate moves played from start, sometimes with junk tokens among them.
std::vector<std::string> randomLine(const Board& start, std::mt19937& random, int plies) {
    std::vector<std::string> tokens;
    BoardBase board = start;
    for (int ply = 0; ply < plies; ++ply) {
        MoveList legal;
        generateLegal(board, legal);
        if (legal.count == 0) break;
        Move m = legal[static_cast<int>(random() % static_cast<unsigned>(legal.count))];
        std::string text = {
            static_cast<char>('a' + fileOf(m.from)), static_cast<char>('1' + rankOf(m.from)),
            static_cast<char>('a' + fileOf(m.to)), static_cast<char>('1' + rankOf(m.to))};
        if (m.promotion) text += static_cast<char>(pieceLetter(m.promotion) + 32);
        tokens.push_back(text);
        if (random() % 8 == 0) tokens.push_back(random() % 2 ? "2." : "Zz9");
        makeMove(board, m);
    }
    return tokens;
}

std::string joined(const std::vector<std::string>& tokens, size_t count) {
    std::string text;
    for (size_t i = 0; i < count && i < tokens.size(); ++i) text += (i ? " " : "") + tokens[i];
    return text;
}

// Whatever it remembers, the cache gives exactly what a fresh conversion gives: for variations
// that share a start with the last one, that change their tail, and for new start positions.
TEST(SanVariationCache, EqualsFreshConversion) {
    const char* fens[] = {"r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -",
                          "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -"};
    std::mt19937 random(11);
    SanVariationCache cache;
    for (int round = 0; round < 300; ++round) {
        Board start;
        start.setFromFen(fens[round % 3 == 0 ? random() % 3 : 0]);
        const std::vector<std::string> line = randomLine(start, random, 16);
        const std::vector<std::string> other = randomLine(start, random, 16);
        for (int variant = 0; variant < 4; ++variant) {
            // The same start with a new tail from a random point on (often moves that are no
            // longer legal there), or the line cut short.
            const size_t keep = line.empty() ? 0 : random() % (line.size() + 1);
            std::vector<std::string> tokens(line.begin(), line.begin() + static_cast<long>(keep));
            if (variant % 2 == 0) tokens.insert(tokens.end(), other.begin(), other.end());
            const std::string text = joined(tokens, tokens.size());
            ASSERT_EQ(cache.convert(start, text), sanVariation(start, text)) << text;
        }
    }
}

}  // namespace
}  // namespace tarnwick
