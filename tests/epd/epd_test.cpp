#include <gtest/gtest.h>

#include <map>
#include <random>

#include "epd/epd_opcodes.hpp"
#include "epd/test_position.hpp"

namespace tarnwick {
namespace {

TestPosition parsed(std::string_view line) {
    TestPosition p;
    p.parseEpd(line);
    return p;
}

std::string roundTrip(std::string_view line) {
    return parsed(line).toEpd(false);
}

constexpr std::string_view kKings = "8/8/8/8/8/8/8/k6K w - - ";

std::string kings(std::string_view ops) {
    return std::string(kKings) + std::string(ops);
}

TEST(Epd, PositionFieldsAndDefaults) {
    const TestPosition empty = parsed("");
    EXPECT_EQ(empty.toEpd(false), "8/8/8/8/8/8/8/8 w - -");
    EXPECT_FALSE(empty.isEmpty());
    EXPECT_EQ(parsed("8/8/8/8/8/8/8/8").toEpd(false), "8/8/8/8/8/8/8/8 w - -");
    EXPECT_EQ(parsed("8/8/8/8/8/8/8/8 b").toEpd(false), "8/8/8/8/8/8/8/8 b - -");
    EXPECT_EQ(parsed("8/8/8/8/8/8/8/8 b KQ").toEpd(false), "8/8/8/8/8/8/8/8 b KQ -");

    const TestPosition six = parsed("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    EXPECT_EQ(six.hmvc, 0);
    EXPECT_EQ(six.fmvn, 1);
    EXPECT_EQ(six.toEpd(false), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 fmvn 1;");
    const TestPosition clocks = parsed("8/8/8/8/8/8/8/k6K w - - 7 41 bm Kg2;");
    EXPECT_EQ(clocks.hmvc, 7);
    EXPECT_EQ(clocks.fmvn, 41);
    EXPECT_EQ(clocks.bm, "Kg2");
    EXPECT_EQ(clocks.fenText(), "8/8/8/8/8/8/8/k6K w - - 7 41");
    // Word 6 is looked at only after word 5 was taken.
    EXPECT_EQ(parsed("8/8/8/8/8/8/8/k6K w - - x 5 bm Kg2;").fmvn, 0);

    TestPosition cleared = clocks;
    cleared.clear();
    EXPECT_TRUE(cleared.isEmpty());
    EXPECT_EQ(cleared.bm, "");
}

TEST(Epd, OperationsAreMatchedByTheirOpcodes) {
    const TestPosition p = parsed(kings("bm Kg2; id \"test 1\";"));
    EXPECT_EQ(p.bm, "Kg2");
    EXPECT_EQ(p.id, "test 1");
    EXPECT_EQ(p.toEpd(false), kings("bm Kg2; id \"test 1\";"));

    EXPECT_EQ(parsed(kings("id x y z;")).id, "x");
    EXPECT_EQ(parsed(kings("c0 \"a;b\";")).c[0], "a;b");
    EXPECT_EQ(parsed(kings("bm Kg2; ; id \"x\";")).id, "");
    EXPECT_EQ(parsed(kings("bm Kg2;; id \"x\";")).id, "x");
    EXPECT_EQ(parsed(kings("id \"a   b\";")).id, "a b");
    EXPECT_EQ(roundTrip(kings("vm Kg2 10; vm Kb2;")), kings("vm Kg2 10; vm Kb2;"));
    EXPECT_EQ(parsed(kings("vm e4 10; vm d4; vm Nf3 5;")).vm, "e4 10 d4 Nf3 5");
    EXPECT_EQ(roundTrip(kings("noop;")), "8/8/8/8/8/8/8/k6K w - -");
    EXPECT_EQ(roundTrip(kings("BM Kg2;")), "8/8/8/8/8/8/8/k6K w - -");
    EXPECT_EQ(roundTrip(kings("resignation;")), kings("resign;"));
    EXPECT_TRUE(parsed(kings("c1;")).c[1].empty());
    EXPECT_EQ(roundTrip(kings("c;")), "8/8/8/8/8/8/8/k6K w - -");
    EXPECT_EQ(parsed(kings("c1xy;")).c[1], "y");
    EXPECT_EQ(roundTrip(kings("sm Kg2;")), kings("sm Kg2;"));
    EXPECT_EQ(roundTrip(kings("ce 0; dm 0; fmvn 0;")), kings("dm 0;"));
    EXPECT_EQ(parsed(kings("acd 12; acn 45000; acs -1; ce -35;")).acs, -1);
    EXPECT_EQ(parsed(kings("acd x;")).acd, 0);
    EXPECT_EQ(parsed(kings("acd;")).acd, 0);

    // The writer's fixed order, and what the analysis-free form leaves out.
    TestPosition r;
    r.parseEpd(kings("pv Kg2 Kb2; pm Kg2; ce 35; acs 250; bm Kg2;"));
    EXPECT_EQ(r.toEpd(true), kings("bm Kg2;"));
    EXPECT_EQ(r.toEpd(false), kings("acs 250; bm Kg2; ce 35; pm Kg2; pv Kg2 Kb2;"));

    const std::string all = kings(
        "acd 1; acn 2; acs 3; am Kh2; bm Kg2; c0 \"z\"; c1 \"10\"; c9 \"n\"; ce -4; dm 5; "
        "draw_accept; draw_claim; draw_offer; draw_reject; eco \"B90\"; fmvn 6; hmvc 7; id "
        "\"i\"; nic \"n\"; pm Kg2; puzzle_failed 2; puzzle_fen \"k7/8 w - - 0 1\"; puzzle_moves "
        "a1b1 b2b3; puzzle_played Kg2 Kh2; puzzle_rating 1500; puzzle_themes mate short; "
        "puzzle_times 45 -1; pv Kg2; rc 8; resign; sm Kg1; tcgs 9; tcri \"r\"; tcsi \"s\"; v0 "
        "\"a\"; v9 \"b\"; vm e4 10;");
    EXPECT_EQ(roundTrip(all), all);
    EXPECT_EQ(parsed(all).toEpd(true),
              kings("am Kh2; bm Kg2; c0 \"z\"; c1 \"10\"; c9 \"n\"; dm 5; draw_accept; "
                    "draw_claim; draw_offer; draw_reject; eco \"B90\"; fmvn 6; hmvc 7; id \"i\"; "
                    "nic \"n\"; puzzle_fen \"k7/8 w - - 0 1\"; puzzle_moves a1b1 b2b3; "
                    "puzzle_rating 1500; puzzle_themes mate short; rc 8; resign; sm Kg1; tcgs 9; "
                    "tcri \"r\"; tcsi \"s\"; v0 \"a\"; v9 \"b\"; vm e4 10;"));

    // Odd inputs that older result files may hold: the digit of a numbered opcode is its
    // last character, and a sign or a point counts as the number of a variation move.
    EXPECT_EQ(parsed(kings("c10 \"x\";")).c[1], "\"x\"");
    EXPECT_EQ(roundTrip(kings("vm e4 -; vm d4 1.5; vm Nf3;")),
              kings("vm e4 -; vm d4 1.5; vm Nf3;"));
}

// Each opcode of the table, alone on a line, is written back as it was read; the
// analysis-free form leaves it out exactly when it is analysis.
TEST(Epd, EveryOpcodeRoundTripsAlone) {
    // A sample line for each kind of operand, "@" standing for the opcode.
    const std::map<EpdOperand, std::string> samples{
        {EpdOperand::Number, "@ -7;"},
        {EpdOperand::Moves, "@ Kg2 Kh2;"},
        {EpdOperand::Text, "@ \"a \\\"b\\\" \\\\ \\ c\";"},
        {EpdOperand::Flag, "@;"},
        {EpdOperand::NumberedTexts, "@0 \"x\"; @9 \"y z\";"},
        {EpdOperand::MovePerOperation, "@ e4 10; @ d4;"},
    };
    for (const EpdOpcode& opcode : kEpdOpcodes) {
        std::string ops;
        for (const char c : samples.at(opcode.operand)) {
            ops += c == '@' ? std::string(opcode.name) : std::string(1, c);
        }
        const TestPosition p = parsed(kings(ops));
        EXPECT_EQ(p.toEpd(false), kings(ops)) << opcode.name;
        EXPECT_EQ(p.toEpd(true), opcode.analysis ? "8/8/8/8/8/8/8/k6K w - -" : kings(ops))
            << opcode.name;
    }
}

// A ";" in a quoted operand belongs to it, and every value that holds one, a quote or a
// backslash is written quoted; a quote that never closes, or stands inside a word, is text.
TEST(Epd, SemicolonsInQuotedValues) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"c0 \"a;b\"; bm Kg2;", "bm Kg2; c0 \"a;b\";"},
        {"id \"x \\\";\\\\\"; bm Kg2;", "bm Kg2; id \"x \\\";\\\\\";"},
        {"bm \"Kg2;Kh2\"; pm \"e2e4;c7c5\";", "bm \"Kg2;Kh2\"; pm \"e2e4;c7c5\";"},
        {"bm \"Kg2\"; vm \"a;b 3\"; vm c;", "bm Kg2; vm \"a;b 3\"; vm c;"},
        {"c0 \"open; bm Kg2;", "bm Kg2; c0 \"open\";"},
        {"c0 00'40\" (Gustav); bm Kg2;", "bm Kg2; c0 \"00'40\\\"\";"},
    };
    for (const auto& [ops, written] : cases) EXPECT_EQ(roundTrip(kings(ops)), kings(written));
}

TEST(Epd, StringOperands) {
    EXPECT_EQ(readStringOperand(""), "");
    EXPECT_EQ(readStringOperand("abc def"), "abc");
    EXPECT_EQ(readStringOperand("\""), "");
    EXPECT_EQ(readStringOperand("\"\""), "");
    EXPECT_EQ(readStringOperand("\"a\\\"b\\\\c\" tail"), "a\"b\\c");
    // A quote that never closes keeps the whole tail.
    EXPECT_EQ(readStringOperand("\"abc"), "abc");
    EXPECT_EQ(readStringOperand("\"a"), "a");
    EXPECT_EQ(readStringOperand("\"ab\\"), "ab\\");
}

TEST(Epd, QuotesAndBackslashesSurviveTheWriter) {
    TestPosition p = parsed(std::string(kKings));
    p.id = "say \"hi\" \\ bye";
    p.c[0] = "\\\\";
    p.eco = "\"";
    const std::string line = p.toEpd(false);
    EXPECT_EQ(line, kings("c0 \"\\\\\\\\\"; eco \"\\\"\"; id \"say \\\"hi\\\" \\\\ bye\";"));
    const TestPosition back = parsed(line);
    EXPECT_EQ(back.id, p.id);
    EXPECT_EQ(back.c[0], p.c[0]);
    EXPECT_EQ(back.eco, p.eco);

    // An escaped blank after a blank reads as two blanks, which the writer must not let the
    // reader collapse into one.
    const TestPosition twoBlanks = parsed(kings("c0 \"a \\ b  \\  c\";"));
    EXPECT_EQ(twoBlanks.c[0], "a  b  c");
    EXPECT_EQ(twoBlanks.toEpd(false), kings("c0 \"a \\ b \\ c\";"));
    EXPECT_EQ(parsed(twoBlanks.toEpd(false)).c[0], "a  b  c");
}

TEST(Epd, LongOperationsAreKeptWhole) {
    const std::string comment(5000, 'x');
    const TestPosition p = parsed(kings("c0 \"" + comment + "\"; id \"" + comment + "\";"));
    EXPECT_EQ(p.c[0], comment);
    EXPECT_EQ(p.id, comment);
    EXPECT_EQ(parsed(p.toEpd(false)).toEpd(false), p.toEpd(false));
}

// Random records of the kinds of values real files hold survive writing and reading.
TEST(Epd, RandomRecordsRoundTrip) {
    std::mt19937 random(99);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto word = [&](int length, bool quotes = true) {
        static const std::string alphabet = "abcdefgh12345678NBRQKx+#=-\\!?'()/.,;\"";
        std::string w;
        const int letters = static_cast<int>(alphabet.size()) - (quotes ? 0 : 1);
        for (int i = 0; i < length; ++i) w += alphabet[static_cast<size_t>(pick(letters))];
        return w;
    };
    auto sentence = [&]() {
        std::string s;
        const int words = pick(6);
        for (int i = 0; i < words; ++i) s += (i ? " " : "") + word(1 + pick(pick(2) ? 8 : 400));
        return s;
    };
    auto moves = [&]() {
        std::string s;
        const int n = pick(4);
        for (int i = 0; i < n; ++i) s += (i ? " " : "") + word(2 + pick(4), false);
        return s;
    };
    for (int round = 0; round < 500; ++round) {
        TestPosition p = parsed("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
        p.acd = pick(3) ? pick(60) : 0;
        p.acn = static_cast<int32_t>(random() % 2000000000u);
        p.acs = pick(2) ? -1 : pick(100000);
        p.ce = pick(60001) - 30000;
        p.am = moves();
        p.bm = moves();
        for (auto& comment : p.c) comment = pick(3) ? "" : sentence();
        p.id = sentence();
        p.eco = sentence();
        p.pm = pick(2) ? word(4, false) : "";
        p.pv = moves();
        p.draw_offer = pick(2);
        p.resign = pick(2);
        p.tcgs = pick(5);
        const std::string line = p.toEpd(false);
        const TestPosition back = parsed(line);
        ASSERT_EQ(back.toEpd(false), line);
        ASSERT_TRUE(back == p) << line;
    }
}

}  // namespace
}  // namespace tarnwick
