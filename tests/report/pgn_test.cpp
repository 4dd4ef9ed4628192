#include "report/pgn.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

const std::string kWac1 = "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - ";

TEST(Pgn, MovetextNumbersTheLineAndCommentsOnItsScoreAndExpectedMoves) {
    const std::string cases[][3] = {
        {"Black's move after the score comment is numbered again; SAN as the board gives it",
         kWac1 + "acd 12; bm Qg6; ce 320; id \"WAC.001\"; pv Qg6 fxg6 Nxg6+;",
         "{id WAC.001; bm Qg6} 1. Qg6 {+3.20/12} 1... fxg6 2. Nxg6# *\n"},
        {"a line from Black's move starts at its number, wraps, and ends before a word that is "
         "no legal move",
         "8/7p/5k2/5p2/p1p2P2/Pr1pPK2/1P1R3P/8 b - - acd 18; am Rb7; ce -5; fmvn 40; pv Rb7 h4 "
         "Rg7 Rf2 Rd7 Rd2 Ke6 e4 Rd4 e5 Kd5 h5 Re4 Rg2 Kd4 Rg7 Re3+ Kf2 Ke4 Rxh7 Re2+ Kg3 Zz9 a1;",
         "{am Rb7} 40... Rb7 {-0.05/18} 41. h4 Rg7 42. Rf2 Rd7 43. Rd2 Ke6 44. e4 Rd4\n"
         "45. e5 Kd5 46. h5 Re4 47. Rg2 Kd4 48. Rg7 Re3+ 49. Kf2 Ke4 50. Rxh7 Re2+\n51. Kg3 *\n"},
        {"a mate test's mate, on the final move when there is no line",
         "r1b1kb1r/pppp1ppp/8/4P3/2Bn4/5q2/PPP2PPP/RNBQK2R w KQkq - acd 20; bm #-2; ce -30000; "
         "mate -2; pm Qxf3;",
         "{bm #-2} 1. Qxf3 {#-2/20} *\n"},
        {"no analysis, no score; braces cannot end the comment early",
         kWac1 + "id \"a}b{c\"; dm 3;", "{id a)b(c; dm 3} *\n"},
    };
    for (const auto& [name, epd, movetext] : cases) {
        TestPosition record;
        record.parseEpd(epd);
        const std::string game = pgnGame(record, {});
        EXPECT_EQ(game.substr(game.find("\n\n") + 2), movetext) << name;
    }
}

TEST(Pgn, TagsAreEscapedAndTheFenIsTheOneAnEngineIsSent) {
    TestPosition record;
    record.parseEpd("4k3/8/8/8/8/8/8/4K2R w KQkq e3 bm Kf2;");
    const std::string date = pgnDate(std::chrono::sys_days{std::chrono::year{2026} / 12 / 9});
    EXPECT_EQ(pgnGame(record, {"say \"hi\" \\ now", date, "Engine\t1"}),
              "[Event \"say \\\"hi\\\" \\\\ now\"]\n[Site \"?\"]\n[Date \"2026.12.09\"]\n"
              "[Round \"-\"]\n[White \"Engine 1\"]\n[Black \"?\"]\n[Result \"*\"]\n"
              "[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\n\n{bm Kf2} *\n");
}

}  // namespace
}  // namespace tarnwick
