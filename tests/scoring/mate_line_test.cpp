#include "scoring/mate_line.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

// A mate claim's line against the rules of a proof: legal moves, the claim's length, checkmate
// at the end, no draw the losing side could claim on the way.
TEST(MateLines, AreCheckedAgainstTheirClaims) {
    const std::string backRank = "6k1/5ppp/8/8/8/8/8/K2R4 w - -";  // Rd8 mates on the back rank
    const std::string shuffle = "a1b1 g8h8 b1a1 h8g8 ";
    // FEN, half-moves since a capture or pawn move, claim, line, what it proves.
    const std::tuple<std::string, int, int32_t, std::string, MateLine> cases[] = {
        {backRank, 0, 1, "d1d8", MateLine::proved},
        {backRank, 0, 2, "1. Kb1 Kh8 2. Rd8#", MateLine::proved},
        {"7k/5ppp/8/8/8/8/8/K2R4 b - -", 0, -1, "f7f6 d1d8", MateLine::proved},
        {backRank, 0, 2, "d1d8", MateLine::shortLine},
        {backRank, 0, 1, "a1b1 g8h8 d1d8", MateLine::longLine},
        {backRank, 0, 1, "d1d2", MateLine::noMate},
        {backRank, 0, 1, "a1a3", MateLine::illegalMove},
        {backRank, 0, 1, "0000", MateLine::illegalMove},
        // Black could claim the fifty-move draw after Kb1, or the threefold repetition.
        {backRank, 99, 2, "a1b1 g8h8 d1d8", MateLine::draw},
        {backRank, 0, 6, shuffle + shuffle + "a1b1 g8h8 d1d8", MateLine::draw},
        {backRank, 0, 4, shuffle + "a1b1 g8h8 d1d8", MateLine::proved},
    };
    for (const auto& [fen, halfMoves, mate, line, kind] : cases) {
        Board board;
        board.setFromFen(fen);
        board.halfMoveClock = halfMoves;
        EXPECT_EQ(checkMateLine(board, mate, line), kind)
            << fen << " mate " << mate << ": " << line;
        EXPECT_EQ(mateLineOfWord(mateLineWord(kind)), kind);
    }
}

}  // namespace
}  // namespace tarnwick
