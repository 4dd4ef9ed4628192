#include "chess/board.hpp"

#include <gtest/gtest.h>

#include "chess/fen_writer.hpp"
#include "chess_test_util.hpp"

namespace tarnwick {
namespace {

Board fromFen(std::string_view fen) {
    Board b;
    b.setFromFen(fen);
    return b;
}

TEST(BoardFen, EmptyAndPartialTextsGiveClearedFields) {
    const Board cleared;
    EXPECT_EQ(fromFen("").compare(cleared), 0);
    EXPECT_EQ(fromFen(" \t ").compare(cleared), 0);
    EXPECT_EQ(fromFen("8/8/8/8/8/8/8/8 w - -").compare(cleared), 0);

    const Board start = fromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ(start.squares[0], WhiteRook);
    EXPECT_EQ(start.squares[4], WhiteKing);
    EXPECT_EQ(start.squares[116], BlackKing);
    EXPECT_EQ(start.sideToMove, White);
    EXPECT_EQ(start.castlingRights, 0);
    EXPECT_EQ(start.epSquare, NoSquare);
}

TEST(BoardFen, FieldsAreReadLeniently) {
    const Board b = fromFen("4k3/8/8/8/8/8/8/4K3 B KQ e3 12 40");
    EXPECT_EQ(b.sideToMove, Black);
    EXPECT_EQ(b.castlingRights, CastleWhiteKing | CastleWhiteQueen);
    EXPECT_EQ(b.epSquare, 36);
    EXPECT_EQ(b.halfMoveClock, 0);

    EXPECT_EQ(fromFen("4k3/48/4K3 w - -").compare(fromFen("4k3/8/8/8/8/8/8/4K3 w - -")), 0);
    EXPECT_EQ(fromFen("4k3/..../8/8/8/8/8/4K3 w").compare(fromFen("4k3/8/8/8/8/8/8/4K3 w")), 0);

    // A trailing slash after a complete board becomes the side field.
    const Board slash = fromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/ w KQkq -");
    EXPECT_EQ(slash.sideToMove, White);
    EXPECT_EQ(slash.castlingRights, 0);
    EXPECT_EQ(slash.epSquare, NoSquare);

    // "white": one character is the side, the rest is the castling field.
    const Board word = fromFen("8/8/8/8/8/8/8/8 white KQ e3");
    EXPECT_EQ(word.castlingRights, 0);
    EXPECT_EQ(word.epSquare, NoSquare);

    EXPECT_EQ(fromFen("8/8/8/8/8/8/8/8 w - -").epSquare, NoSquare);
    EXPECT_EQ(fromFen("8/8/8/8/8/8/8/8 w - e1").epSquare, NoSquare);
    EXPECT_EQ(fromFen("8/8/8/8/8/8/8/8 w - x9").epSquare, NoSquare);
    EXPECT_EQ(fromFen("8/8/8/8/8/8/8/8 w - z3").epSquare, 32);
    EXPECT_EQ(fromFen("8/8/8/8/8/8/8/8 w - h8").epSquare, 119);
}

TEST(BoardFen, OnlyTheFirst255CharactersAreRead) {
    std::string fen(254, '/');
    fen += " b KQkq";
    EXPECT_EQ(fromFen(fen).sideToMove, White);
    std::string shorter(240, '/');
    shorter += " b KQkq";
    EXPECT_EQ(fromFen(shorter).sideToMove, Black);
    EXPECT_EQ(fromFen(shorter).castlingRights, 15);
}

TEST(BoardFen, HighBytesAreBlanksAndNothingOverflows) {
    const Board b = fromFen(
        "4k3/8/8/8/8/8/8/4K3\xe9w\xff"
        "K");
    EXPECT_EQ(b.squares[4], WhiteKing);
    EXPECT_EQ(b.castlingRights, CastleWhiteKing);
    // Long digit runs and many pieces must stay inside the board.
    EXPECT_EQ(fromFen("99999999KKKKKKKKKKKKKKKKKKKKKKKK").squares[0], Empty);
    const Board many = fromFen(std::string(300, 'Q'));
    EXPECT_EQ(many.squares[0], WhiteQueen);
    EXPECT_EQ(many.squares[119], WhiteQueen);
}

TEST(BoardCompare, ReportsTheFirstDifference) {
    const Board start = fromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    Board other = start;
    EXPECT_EQ(start.compare(other), 0);
    other.castlingRights = 1;
    EXPECT_EQ(start.compare(other), 2);
    other = start;
    other.sideToMove = Black;
    EXPECT_EQ(start.compare(other), 4);
    other = start;
    other.epSquare = 20;
    EXPECT_EQ(start.compare(other), 3);
    other = start;
    other.halfMoveClock = 9;
    EXPECT_EQ(start.compare(other), 0);
    other.setSquare(20, Empty);
    other.castlingRights = 0;
    EXPECT_EQ(start.compare(other), 1);
}

TEST(BoardFen, ComposeAndPieceLetters) {
    EXPECT_EQ(composeFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", "b", "KQkq", "e3", 0, 0),
              "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    EXPECT_EQ(composeFen("8", "w", "-", "-", 3, 17), "8 w - - 3 17");
    EXPECT_EQ(composeFen("8", "w", "-", "-", 0, -4), "8 w - - 0 1");
    EXPECT_EQ(std::string({pieceLetter(2), pieceLetter(9), pieceLetter(10), pieceLetter(11),
                           pieceLetter(6), pieceLetter(1), pieceLetter(7), pieceLetter(0)}),
              "NBRQK   ");
}

// Written FEN gives back the board it was written from, clocks and all.
TEST(BoardFen, WrittenFenReadsBackTheSameBoard) {
    const std::pair<std::string_view, int32_t> cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 1},
        {"4k3/4q3/8/3pP3/8/8/8/4R1K1 w - d6 0 19", 19},
        {"r3k2r/8/8/8/4pP2/8/8/R3K2R b Kq f3 0 7", 7},
        {"8/8/8/8/8/8/8/8 w - - 41 1", 0},
    };
    for (const auto& [fen, fullMoves] : cases) {
        Board board = fromFen(fen);
        board.halfMoveClock = readFenClocks(fen).halfMoves;
        EXPECT_EQ(writeFen(board, fullMoves), fen);
    }
    for (const Board& board : testutil::playoutPositions(4, 40, 7)) {
        EXPECT_EQ(fromFen(writeFen(board, 1)).compare(board), 0) << writeFen(board, 1);
    }
}

}  // namespace
}  // namespace tarnwick
