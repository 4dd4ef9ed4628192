#include "report/json_lines.hpp"

#include <gtest/gtest.h>

#include "scoring/position_scorer.hpp"

#include <nlohmann/json.hpp>

namespace tarnwick {
namespace {

using nlohmann::json;

TestPosition record(std::string_view operations) {
    TestPosition p;
    p.parseEpd("8/8/8/8/8/8/8/k6K w - - " + std::string(operations));
    return p;
}

TEST(JsonLines, APositionCarriesItsScoringAndTheEnginesAnalysis) {
    TestPosition solved = record("bm Kg2; c1 \"10\"; id \"say \\\"hi\\\" \\\\ here\"; pm Kg2;");
    solved.acd = 12;
    solved.ce = -35;
    solved.acn = 123456;
    solved.acs = 7;
    solved.pv = "Kg2 Kb2 Kf3";
    const json first = json::parse(positionJson(scoreRecord(solved), RecordOutcome::moved, 150));
    EXPECT_EQ(first["type"], "position");
    EXPECT_EQ(first["id"], "say \"hi\" \\ here");
    EXPECT_EQ(first["fen"], "8/8/8/8/8/8/8/k6K w - - 0 1");
    EXPECT_EQ(first["bm"], json({"Kg2"}));
    EXPECT_EQ(first["am"], json::array());
    EXPECT_EQ(first["points"], 10);
    EXPECT_EQ(first["max"], 10);
    EXPECT_EQ(first["solved"], true);
    EXPECT_DOUBLE_EQ(first["found_time"].get<double>(), 0.07);
    EXPECT_EQ(first["final_move"], "Kg2");
    EXPECT_EQ(first["depth"], 12);
    EXPECT_EQ(first["score"], json({{"cp", -35}}));
    EXPECT_EQ(first["nodes"], 123456);
    EXPECT_EQ(first["pv"], json({"Kg2", "Kb2", "Kf3"}));
    EXPECT_DOUBLE_EQ(first["engine_time"].get<double>(), 1.5);
    EXPECT_EQ(first["outcome"], "moved");

    // A wrong move keeps no found time, even when one was seen on the way.
    TestPosition wrong = record("bm Kg2; am Kh2; pm Kh2;");
    wrong.acs = 40;
    const json second = json::parse(positionJson(scoreRecord(wrong), RecordOutcome::timeout, 0));
    EXPECT_EQ(second["points"], -1);
    EXPECT_EQ(second["solved"], false);
    EXPECT_TRUE(second["found_time"].is_null());
    EXPECT_TRUE(second["score"].is_null());
    EXPECT_EQ(second["outcome"], "timeout");

    // A mate test's score keeps the distance; a position never sent has no move.
    TestPosition mate = record("bm #3; id \"m\";");
    mate.acd = 9;
    mate.mate = 3;
    mate.matecheck = "short ok";
    ScoredRecord scoredMate = scoreRecord(mate);
    scoredMate.lines = {{2, {Score::Kind::mate, 3, std::nullopt}, "Kg2 Kb1"}};
    const json third = json::parse(positionJson(scoredMate, RecordOutcome::crash, 0));
    EXPECT_EQ(third["score"], json({{"mate", 3}}));
    EXPECT_EQ(third["outcome"], "crash");
    EXPECT_EQ(third["mate_lines"], json({"short", "proved"}));
    EXPECT_EQ(third["lines"].dump(), R"([{"multipv":2,"pv":["Kg2","Kb1"],"score":{"mate":3}}])");
    EXPECT_TRUE(json::parse(positionJson(scoreRecord(record("id \"x\";")), RecordOutcome::skipped,
                                         0))["final_move"]
                    .is_null());
}

TEST(JsonLines, EveryByteGivesOneValidLine) {
    TestPosition odd = record("bm Kg2;");
    odd.id = std::string("a\xff\xc3(b\x01\n\tc\x7f") + '\0' + "d\xe2\x82\xac";
    odd.pm = "\x80";
    const std::string line = positionJson(scoreRecord(odd), RecordOutcome::moved, 0);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    const json parsed = json::parse(line);
    EXPECT_EQ(parsed["id"],
              std::string("a\xef\xbf\xbd\xef\xbf\xbd(b\x01\n\tc\x7f") + '\0' + "d\xe2\x82\xac");
    EXPECT_EQ(parsed["final_move"], "\xef\xbf\xbd");
}

TEST(JsonLines, TheSummaryHoldsWhatTheReportSays) {
    const std::vector<TestPosition> results = {
        record("acs 50; bm Kg2; c1 \"10\"; pm Kg2;"),
        record("acs 700; bm Kg2; c1 \"10\"; pm Kg2;"),
        record("acs 20; bm Kg2; c1 \"10\"; id \"pos 3\"; pm Kh2;"),
        record("bm #2; id \"Mates.1\"; mate 2;"),
    };
    const ReportSettings settings;
    const ReportTotals totals = computeTotals(scoreRecords(results), settings);
    RunFacts facts;
    facts.engine = "engine --fast";
    facts.ended = std::chrono::system_clock::time_point{std::chrono::seconds(97445)};
    facts.engineSetup = {"uci", "setoption name Hash value 64", "isready"};
    facts.limits.nodes = 5000;
    facts.cpu = "Some CPU";
    facts.cores = 8;
    const json summary =
        json::parse(summaryJson(totals, settings, facts, json({{"protocol", "uci"}})));
    EXPECT_EQ(summary["type"], "summary");
    EXPECT_EQ(summary["tests"], 4);
    EXPECT_EQ(summary["max_score"], 31);
    EXPECT_EQ(summary["score"], 21);
    EXPECT_EQ(summary["full_score"], 3);
    EXPECT_EQ(summary["found_in"][0], json({{"within", "1 sec"}, {"count", 2}}));
    EXPECT_EQ(summary["found_in"][3], json({{"within", "10 sec"}, {"count", 1}}));
    EXPECT_EQ(summary["found_in"].size(), kReportBuckets.size());
    EXPECT_DOUBLE_EQ(summary["time_used"].get<double>(), 17.5);
    EXPECT_EQ(summary["failed"], json({"pos 3"}));
    EXPECT_EQ(summary["mates"], json({{"tests", 1},
                                      {"found", 1},
                                      {"best", 1},
                                      {"shorter", json::array()},
                                      {"unproven", json::array()},
                                      {"by_length", json::parse(R"([{"band": "2", "tests": 1,
                                          "found": 1, "best": 1}])")}}));
    EXPECT_EQ(summary["points_suite"]["positions"], 0);
    EXPECT_EQ(summary["engine"], "engine --fast");
    EXPECT_EQ(summary["options"], json({{"protocol", "uci"}}));
    EXPECT_EQ(summary["engine_setup"][1], "setoption name Hash value 64");
    EXPECT_EQ(summary["limits"]["nodes"], 5000);
    EXPECT_TRUE(summary["limits"]["depth"].is_null());
    EXPECT_EQ(summary["machine"], json({{"cpu", "Some CPU"}, {"cores", 8}}));
    EXPECT_EQ(summary["started"], "1970-01-01T00:00:00Z");
    EXPECT_EQ(summary["ended"], "1970-01-02T03:04:05Z");
}

}  // namespace
}  // namespace tarnwick
