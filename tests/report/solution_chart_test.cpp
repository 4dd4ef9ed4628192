#include "report/solution_chart.hpp"

#include <gtest/gtest.h>

#include "scoring/position_scorer.hpp"

namespace tarnwick {
namespace {

bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// With 10 s at the end of the axis, 0.01 s is at x 80, 0.1 s at 340, 1 s at 600 and 10 s at
// 860; with 4 positions each one is 115 units of height above the bottom at 520.
TEST(SolutionChart, StepsRiseAtTheFoundTimesOnALogarithmicAxis) {
    SolutionChart chart;
    chart.suiteName = "wac.epd";
    chart.positions = 4;
    chart.maxSeconds = 10;
    chart.runs = {{"first", {1.0, 0.001, 1.0, 0.1}}, {"second", {}}};
    const std::string svg = solutionChartSvg(chart);
    EXPECT_TRUE(svg.starts_with("<svg")) << svg;
    EXPECT_TRUE(holds(svg, "wac.epd: 4 positions, solved with full points by time")) << svg;
    // Found before the axis starts counts from its start; two at 1 s make one step of two.
    EXPECT_TRUE(holds(svg,
                      "d=\"M80.0 405.0 H340.0 V290.0 H600.0 V60.0 H860.0\" fill=\"none\" "
                      "stroke=\"#1f5fbf\""))
        << svg;
    EXPECT_TRUE(holds(svg, "d=\"M80.0 520.0 H860.0\" fill=\"none\" stroke=\"#d62728\"")) << svg;
    for (const char* label : {">0.01 s<", ">0.1 s<", ">1 s<", ">10 s<", ">first (4)<",
                              ">second (0)<", ">Positions solved<"}) {
        EXPECT_TRUE(holds(svg, label)) << label;
    }
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
}

TEST(SolutionChart, NamesAreEscapedAndOnlyValidUtf8IsKept) {
    SolutionChart chart;
    chart.suiteName = "<a&b>\"\x01";
    chart.runs = {{"M\xc3\xbcller \xff\xc3", {}}};
    const std::string svg = solutionChartSvg(chart);
    EXPECT_TRUE(holds(svg, "&lt;a&amp;b&gt;&quot;?: 0 positions")) << svg;
    EXPECT_TRUE(holds(svg, ">M\xc3\xbcller ?? (0)<")) << svg;
}

TEST(SolutionChart, ARunCountsItsFullScorePositionsAtTheirFoundTimes) {
    std::vector<TestPosition> results(3);
    results[0].parseEpd("8/8/8/8/8/8/8/k6K w - - bm Kg2; acs 250; pm Kg2;");
    results[1].parseEpd("8/8/8/8/8/8/8/k6K w - - bm Kg2; acs -1; pm Kg2;");
    results[2].parseEpd("8/8/8/8/8/8/8/k6K w - - bm Kg2; acs 5; pm Kh2;");
    const ChartRun run = chartRunOf("engine", scoreRecords(results), 1000);
    EXPECT_EQ(run.name, "engine");
    EXPECT_EQ(run.solvedSeconds, (std::vector<double>{2.5, 10.0}));
}

}  // namespace
}  // namespace tarnwick
