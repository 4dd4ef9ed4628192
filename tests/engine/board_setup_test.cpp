#include "engine/board_setup.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(BoardSetup, SetboardPassesTheFenUnchanged) {
    EXPECT_EQ(boardSetupText(BoardSetupMethod::setboard, "anything at all  "),
              "setboard anything at all  \n");
}

TEST(BoardSetup, EditForWhiteAndBlackToMove) {
    EXPECT_EQ(boardSetupText(BoardSetupMethod::edit, "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"),
              "new\nedit\n#\nKe1\nPe2\nc\nKe8\nc\nc\n.\n");
    EXPECT_EQ(boardSetupText(BoardSetupMethod::edit, "4k3/p7/8/8/4P3/8/8/4K3 b KQ e3 0 1"),
              "new\nforce\na2a3\nedit\n#\nKe1\nPe4\nc\nPa7\nKe8\nc\n.\n");
    EXPECT_EQ(boardSetupText(BoardSetupMethod::edit, ""), "new\nedit\n#\nc\nc\nc\n.\n");
}

TEST(BoardSetup, CbeditAddsCastlingAndEnPassantLines) {
    EXPECT_EQ(boardSetupText(BoardSetupMethod::cbedit, "4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1"),
              "new\nforce\na2a3\nedit\n#\nKe1\nPe4\nc\nKe8\nc\n-w00\n-w000\n-b00\n-b000\nep "
              "e3\n.\n");
    const std::string start = boardSetupText(
        BoardSetupMethod::cbedit, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    EXPECT_NE(start.find("c\n+w00\n+w000\n+b00\n+b000\nc\n.\n"), std::string::npos);
    EXPECT_TRUE(start.starts_with("new\nedit\n#\nRa1\nNb1\nBc1\nQd1\nKe1\n"));
    EXPECT_EQ(start.find("ep "), std::string::npos);
    EXPECT_EQ(boardSetupText(BoardSetupMethod::cbedit, "4k3/8/8/8/8/8/8/4K3 w Kq -"),
              "new\nedit\n#\nKe1\nc\nKe8\nc\n+w00\n-w000\n-b00\n+b000\nc\n.\n");
    const std::string edit = boardSetupText(
        BoardSetupMethod::edit, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    EXPECT_EQ(edit.find("w00"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick
