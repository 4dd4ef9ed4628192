#include "scoring/mate_line.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

// A mate claim's line against the rules of a proof: legal moves, the claim's length, checkmate
// at the end, no draw the losing side could claim on the way.
TEST(MateLines, AreCheckedAgainstTheirClaims) {
    // Black's king is caught on the back rank: Rd8 mates unless it gets out first.
    const std::string backRank = "6k1/5ppp/8/8/8/8/8/K2R4 w - - ";
    const std::string shuffle = "a1b1 g8h8 b1a1 h8g8 ";
    struct Case {
        std::string fen;
        int32_t mate;
        std::string line;
        MateLine kind;
        int32_t halfMoves = 0;  // since the last capture or pawn move
    };
    const Case cases[] = {
        {backRank + "0 1", 1, "d1d8", MateLine::proved},
        {backRank + "0 1", 2, "a1b1 g8h8 d1d8", MateLine::proved},
        {backRank + "0 1", 2, "1. Kb1 Kh8 2. Rd8#", MateLine::proved},
        {"7k/5ppp/8/8/8/8/8/K2R4 b - - 0 1", -1, "f7f6 d1d8", MateLine::proved},
        {backRank + "0 1", 2, "d1d8", MateLine::shortLine},
        {backRank + "0 1", 1, "a1b1 g8h8 d1d8", MateLine::longLine},
        {backRank + "0 1", 1, "d1d2", MateLine::noMate},
        {backRank + "0 1", 1, "a1a3", MateLine::illegalMove},
        {backRank + "0 1", 1, "0000", MateLine::illegalMove},
        // Black, to move after 100 quiet half-moves, could claim the fifty-move draw.
        {backRank + "99 80", 2, "a1b1 g8h8 d1d8", MateLine::draw, 99},
        // The third time the position comes with Black to move, Black could claim the draw.
        {backRank + "0 1", 6, shuffle + shuffle + "a1b1 g8h8 d1d8", MateLine::draw},
        {backRank + "0 1", 4, shuffle + "a1b1 g8h8 d1d8", MateLine::proved},
    };
    for (const Case& c : cases) {
        Board board;
        board.setFromFen(c.fen);
        board.halfMoveClock = c.halfMoves;
        EXPECT_EQ(checkMateLine(board, c.mate, c.line), c.kind)
            << c.fen << " mate " << c.mate << ": " << c.line;
    }
    for (const MateLine kind : {MateLine::proved, MateLine::noMate, MateLine::draw}) {
        EXPECT_EQ(mateLineOfWord(mateLineWord(kind)), kind);
    }
    EXPECT_EQ(mateLineOfWord("proved"), std::nullopt);
}

}  // namespace
}  // namespace tarnwick
