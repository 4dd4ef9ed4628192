#include "report/html_report.hpp"

#include <gtest/gtest.h>

#include "report/board_svg.hpp"
#include "scoring/position_scorer.hpp"

namespace tarnwick {
namespace {

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// Squares are 40 units from x 16 and y 0 (a8): e2's piece is at (176, 240), its centre at (196,
// 260); an arrow's shaft stops 16 units short of the target's centre, where its head starts.
TEST(BoardSvg, PlacesPiecesMarksTheSideAndPointsAtTheFirstLegalBestMove) {
    struct Case {
        const char* name;
        const char* epd;
        bool mateTest;
        const char* arrow;  // nullptr: none
        const char* piece;
        const char* side;
    };
    const Case cases[] = {
        {"a bm that names no legal move is passed over", "4k3/8/8/8/8/8/4P3/4K3 w - - bm Kd3 e4;",
         false, "x1=\"196\" y1=\"260\" x2=\"196\" y2=\"196\"", "href=\"#wP\" x=\"176\" y=\"240\"",
         "cy=\"312\" r=\"7\" fill=\"#fff\""},
        {"castling points at the king's square", "r3k3/8/8/8/8/8/8/4K3 b q - bm O-O-O;", false,
         "x1=\"196\" y1=\"20\" x2=\"132\" y2=\"20\"", "href=\"#bR\" x=\"16\" y=\"0\"",
         "cy=\"8\" r=\"7\" fill=\"#000\""},
        {"a mate test's bm is one mate of several", "4k3/8/8/8/8/8/4P3/4K3 w - - bm e4;", true,
         nullptr, "href=\"#bK\" x=\"176\" y=\"0\"", "fill=\"#fff\""},
        {"no bm", "4k3/8/8/8/8/8/4P3/4K3 w - -", false, nullptr, "href=\"#wK\"", "fill=\"#fff\""},
    };
    for (const Case& c : cases) {
        TestPosition record;
        record.parseEpd(c.epd);
        Board board;
        board.setFromFen(record.fenText());
        const std::string svg = boardSvg(board, expectedMove(board, record, c.mateTest));
        EXPECT_EQ(count(svg, "class=\"arrow\""), c.arrow ? 1u : 0u) << c.name;
        if (c.arrow) {
            EXPECT_EQ(count(svg, c.arrow), 1u) << c.name << "\n" << svg;
        }
        EXPECT_EQ(count(svg, c.piece), 1u) << c.name << "\n" << svg;
        EXPECT_EQ(count(svg, c.side), 1u) << c.name << "\n" << svg;
    }
}

std::vector<ScoredRecord> scored(const std::vector<std::string>& lines) {
    std::vector<TestPosition> records(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) records[i].parseEpd(lines[i]);
    return scoreRecords(std::move(records));
}

TEST(HtmlReport, ARunsPageEscapesWhatFilesSayAndDrawsABoardPerPosition) {
    HtmlReport report;
    report.summary = "Number of tests: 3\nFailed: <p2>";
    report.runs = {{"engine", scored({"4k3/8/8/8/8/8/4P3/4K3 w - - bm e4; pm e4; acs 5;",
                                      "4k3/8/8/8/8/8/4P3/4K3 b - - bm Kd7; pm Ke7; id p2;",
                                      "4k3/8/8/8/8/8/4P3/4K3 w - - bm e3; pm e4; id p3;"})}};
    report.runs[0].results[0].record.id = "a<b&\"c\xff";
    report.runs[0].results[1].record.pv = "<script>alert(1)</script>";
    report.facts = RunFacts{};
    report.facts->engineSetup = {"uci", "setoption name Hash value <64>"};
    const std::string page = htmlReport(report);
    EXPECT_EQ(count(page, "<svg class=\"board\""), 3u);
    EXPECT_EQ(count(page, "class=\"arrow\""), 3u);
    EXPECT_EQ(count(page, "<tr class=\"unsolved\">"), 2u);
    EXPECT_EQ(count(page, ">a&lt;b&amp;&quot;c?<"), 1u) << page;
    EXPECT_EQ(count(page, "<script"), 0u);
    EXPECT_EQ(count(page, "<pre>Number of tests: 3\nFailed: &lt;p2&gt;</pre>"), 1u);
    EXPECT_EQ(count(page, "<pre>uci\nsetoption name Hash value &lt;64&gt;</pre>"), 1u);
    // Nothing is fetched: every reference is to the page itself.
    EXPECT_EQ(count(page, "href=\""), count(page, "href=\"#"));
    EXPECT_EQ(count(page, "src="), 0u);
}

TEST(HtmlReport, AComparisonShowsTheRowsWhereTheRunsDifferFirst) {
    HtmlReport report;
    report.runs = {{"one", scored({"4k3/8/8/8/8/8/8/K7 w - - bm Kb2; pm Kb2; id p1;",
                                   "3k4/8/8/8/8/8/8/K7 w - - bm Kb2; pm Kb2; id p2;",
                                   "2k5/8/8/8/8/8/8/K7 w - - bm Kb2; pm Kb2; id p3;"})},
                   {"two", scored({"3k4/8/8/8/8/8/8/K7 w - - bm Kb2; pm Ka2; id p2;",
                                   "4k3/8/8/8/8/8/8/K7 w - - bm Kb2; pm Kb2; id p1;"})}};
    const std::string page = htmlReport(report);
    const size_t p1 = page.find(">p1<"), p2 = page.find(">p2<"), p3 = page.find(">p3<");
    EXPECT_LT(p2, p3);
    EXPECT_LT(p3, p1);
    EXPECT_NE(p1, std::string::npos);
    EXPECT_EQ(count(page, "<svg class=\"board\""), 3u);
    EXPECT_EQ(count(page, "<tr class=\"differs\">"), 2u);
    EXPECT_EQ(count(page, ">not in this file<"), 1u);
    EXPECT_EQ(count(page, "<colgroup span=\"4\" class=\"run\">"), 2u);
    EXPECT_EQ(count(page, "Made from result files alone"), 1u);
}

}  // namespace
}  // namespace tarnwick
