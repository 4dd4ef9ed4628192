#include "engine/line_assembler.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using Lines = std::vector<std::string>;

using namespace std::string_view_literals;

const std::string_view kStream =
    "readyok\r\n"
    "a\rb\r\r\n"
    "\n"
    "\r\n"
    "x\0y\n"
    "\0\n"
    "info depth 1 pv e2e4\n"
    "unfinished"sv;
const Lines kExpected{"readyok", "ab", "", "", "x", "", "info depth 1 pv e2e4"};

Lines feedAll(LineAssembler& lines, std::string_view bytes) {
    Lines out;
    lines.feed(bytes, [&](std::string_view line) {
        out.emplace_back(line);
        return true;
    });
    return out;
}

TEST(LineAssembler, LinesAreTheSameHoweverTheReadsSplitTheBytes) {
    ASSERT_EQ(kStream.size(), 55u);
    LineAssembler whole;
    EXPECT_EQ(feedAll(whole, kStream), kExpected);
    EXPECT_EQ(whole.pending(), "unfinished");  // never delivered without its newline

    for (size_t cut = 0; cut <= kStream.size(); ++cut) {
        LineAssembler lines;
        Lines got = feedAll(lines, kStream.substr(0, cut));
        const Lines rest = feedAll(lines, kStream.substr(cut));
        got.insert(got.end(), rest.begin(), rest.end());
        EXPECT_EQ(got, kExpected) << "cut at " << cut;
    }
    LineAssembler byteByByte;
    Lines got;
    for (char c : kStream) {
        const Lines some = feedAll(byteByByte, std::string_view(&c, 1));
        got.insert(got.end(), some.begin(), some.end());
    }
    EXPECT_EQ(got, kExpected);
}

TEST(LineAssembler, FalseFromTheReceiverDropsTheRest) {
    LineAssembler lines;
    Lines got;
    const bool goOn = lines.feed("one\ntwo\nthree\nfour", [&](std::string_view line) {
        got.emplace_back(line);
        return line != "two";
    });
    EXPECT_FALSE(goOn);
    EXPECT_EQ(got, (Lines{"one", "two"}));
    EXPECT_EQ(lines.pending(), "");

    const std::string longLine(100000, 'z');
    EXPECT_EQ(feedAll(lines, longLine.substr(0, 70000)), Lines{});
    EXPECT_EQ(feedAll(lines, longLine.substr(70000) + "\n"), Lines{longLine});
}

// Under a small limit, lines up to it pass and each longer one is reported once and dropped,
// however the reads split the bytes; no more than the limit is ever held.
TEST(LineAssembler, OverlongLinesAreDroppedWholeAndTheNextArrivesIntact) {
    constexpr size_t kLimit = 8;
    const std::string_view stream =
        "12345678\n"      // exactly the limit
        "123456789\n"     // one byte over
        "ok\n"            // the line after an overlong one
        "1234\r5678\r\n"  // carriage returns do not count
        "abc\0defghi\n"   // the bytes held count, not what is seen up to the NUL
        "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz\n"  // many times over
        "\n"
        "last\n"
        "unfinished-and-too-long"sv;  // reported before its end
    const Lines expected{"12345678", "ok", "12345678", "", "last"};

    const auto feedCounting = [&](LineAssembler& lines, std::string_view bytes, Lines& got,
                                  int& overlong) {
        lines.feed(
            bytes,
            [&](std::string_view line) {
                got.emplace_back(line);
                return true;
            },
            [&] { ++overlong; });
        EXPECT_LE(lines.pending().size(), kLimit);
    };
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        LineAssembler lines(kLimit);
        Lines got;
        int overlong = 0;
        feedCounting(lines, stream.substr(0, cut), got, overlong);
        feedCounting(lines, stream.substr(cut), got, overlong);
        EXPECT_EQ(got, expected) << "cut at " << cut;
        EXPECT_EQ(overlong, 4) << "cut at " << cut;
        EXPECT_EQ(lines.pending(), "");
    }
    LineAssembler byteByByte(kLimit);
    Lines got;
    int overlong = 0;
    for (char c : stream) feedCounting(byteByByte, std::string_view(&c, 1), got, overlong);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(overlong, 4);
}

}  // namespace
}  // namespace tarnwick
