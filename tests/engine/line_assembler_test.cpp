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

}  // namespace
}  // namespace tarnwick
