#include "chess/legality.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(Legality, PositionsAnEngineCannotBeGiven) {
    const struct {
        const char* fen;
        const char* reason;
    } cases[] = {
        {"8/8/8/8/8/8/8/8 w - - 0 1", "White has no king"},
        {"4k3/8/8/8/8/8/8/8 b - - 0 1", "White has no king"},
        {"8/8/8/8/8/8/8/4K3 w - - 0 1", "Black has no king"},
        {"4k3/8/8/8/8/8/8/K3K3 w - - 0 1", "White has 2 kings"},
        {"k3k2k/8/8/8/8/8/8/4K3 w - - 0 1", "Black has 3 kings"},
        {"3Pk3/8/8/8/8/8/8/4K3 b - - 0 1", "White pawn on d8"},
        {"4k3/8/8/8/8/8/8/p3K3 w - - 0 1", "Black pawn on a1"},
        {"4k3/8/8/8/8/8/8/4K2P w - - 0 1", "White pawn on h1"},
        // The side to move could take the king.
        {"4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "Black is in check with White to move"},
        {"4k3/8/8/8/1b6/8/8/4K3 b - - 0 1", "White is in check with Black to move"},
        {"4k3/8/8/8/8/8/4K3 w - - 0 1", "board cannot be read"},
        {"4k3/8/8/8/8/8/8/4K4 w - - 0 1", "board cannot be read"},
        {"4k3/8/8/8/8/8/8/4K2x w - - 0 1", "board cannot be read"},
        {"4k3/8/8/8/8/8/8/4K3 x - - 0 1", "side to move cannot be read"},
        {"4k3/8/8/8/8/8/8/4K3", "side to move cannot be read"},
        {"", "board cannot be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fen);
        EXPECT_EQ(whyNotLegal(c.fen), c.reason);
    }
}

TEST(Legality, OrdinaryPositionsAreLegal) {
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                            // The side to move in check, even doubly, is an ordinary position.
                            "4k3/8/8/8/1b6/8/8/4K2r w - - 0 1", "4k3/8/8/8/8/8/8/4K3 b",
                            "r3k2r/8/8/8/8/8/8/R3K2R w Qk e3 5 40"}) {
        SCOPED_TRACE(fen);
        EXPECT_EQ(whyNotLegal(fen), "");
    }
}

TEST(Legality, FenSentDropsRightsTheBoardCannotHave) {
    const struct {
        const char* written;
        const char* sent;
    } cases[] = {
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"},
        // No rook on a8, no rook on h1.
        {"4k2r/8/8/8/8/8/8/R3K3 w KQkq - 3 20", "4k2r/8/8/8/8/8/8/R3K3 w Qk - 3 20"},
        // The king is not on its square: none of that side's rights stay.
        {"r3k2r/8/8/8/8/8/8/R2K3R b KQkq - 0 1", "r3k2r/8/8/8/8/8/8/R2K3R b kq - 0 1"},
        {"r2k3r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "r2k3r/8/8/8/8/8/8/R3K2R w KQ - 0 1"},
        // A black rook where the white one should be.
        {"4k3/8/8/8/8/8/8/r3K3 b Q - 0 1", "4k3/8/8/8/8/8/8/r3K3 b - - 0 1"},
        // A capture onto e6 by the pawn on d5 is kept, also with Black to move onto d3.
        {"4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1", "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1"},
        {"4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1", "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1"},
        // No own pawn beside the one that moved.
        {"4k3/8/8/4p3/P7/8/8/4K3 w - e6 0 1", "4k3/8/8/4p3/P7/8/8/4K3 w - - 0 1"},
        // No pawn that could just have moved two squares past the square.
        {"4k3/8/8/3P4/8/8/8/4K3 w - e6 0 1", "4k3/8/8/3P4/8/8/8/4K3 w - - 0 1"},
        // The square on the wrong rank for the side to move.
        {"4k3/8/8/8/3pP3/8/8/4K3 w - e3 0 1", "4k3/8/8/8/3pP3/8/8/4K3 w - - 0 1"},
        // The square or the one the pawn came from is occupied.
        {"4k3/8/4b3/3Pp3/8/8/8/4K3 w - e6 0 1", "4k3/8/4b3/3Pp3/8/8/8/4K3 w - - 0 1"},
        {"4k3/4n3/8/3Pp3/8/8/8/4K3 w - e6 0 1", "4k3/4n3/8/3Pp3/8/8/8/4K3 w - - 0 1"},
        // The only capture would expose the king along the rank.
        {"7k/8/8/K2Pp2r/8/8/8/8 w - e6 0 1", "7k/8/8/K2Pp2r/8/8/8/8 w - - 0 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(fenToSend(c.written), c.sent);
    }
}

}  // namespace
}  // namespace tarnwick
