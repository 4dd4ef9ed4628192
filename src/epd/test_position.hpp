#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// One EPD line: the four position fields as text and one field per known opcode, named after
// it. 0 and the empty text mean absent. acd, acn, acs, ce, mate, matecheck, pm, pv,
// puzzle_played, puzzle_failed and puzzle_times carry the engine's analysis.
struct TestPosition {
    std::string placement;
    std::string side;
    std::string castling;
    std::string enPassant;
    int32_t acd = 0;
    int32_t acn = 0;
    int32_t acs = 0;  // found time in hundredths of a second; -1: not found
    std::string am;
    std::string bm;
    std::array<std::string, 10> c;  // c[1] holds the points of the named moves
    int32_t ce = 0;
    // The mate count as written: the scorer reads it, and tells one that is no count.
    std::string dm;
    bool draw_accept = false;
    bool draw_claim = false;
    bool draw_offer = false;
    bool draw_reject = false;
    std::string eco;
    int32_t fmvn = 0;
    int32_t hmvc = 0;
    std::string id;
    // The engine's last score of a mate test when it was a mate, in signed moves (positive: the
    // side to move mates); written as "mate", as ce cannot keep the distance.
    int32_t mate = 0;
    // How the lines of a mate test's mate claims stand against them, a word per claim checked
    // ("ok", "short", ...): the main line's first, then the other lines'.
    std::string matecheck;
    std::string nic;
    std::string pm;
    // A puzzle as its row gives it: the position before the opponent's first move (six FEN
    // fields), the moves from there in UCI (the opponent's first), its rating and theme words.
    std::string puzzle_fen;
    std::string puzzle_moves;
    int32_t puzzle_rating = 0;
    std::string puzzle_themes;
    // How an engine went through a puzzle: its move in SAN at each solver step it reached, the
    // step (from 1) whose move was wrong (0: none), and the found time of each step reached in
    // hundredths of a second (-1: not found).
    std::string puzzle_played;
    int32_t puzzle_failed = 0;
    std::string puzzle_times;
    std::string pv;
    int32_t rc = 0;
    bool resign = false;
    std::string sm;
    int32_t tcgs = 0;
    std::string tcri;
    std::string tcsi;
    std::array<std::string, 10> v;
    std::string vm;

    // Clears the record, then fills it from one EPD line (without its line end). True when
    // words that cannot be opcodes stood before the operations and were skipped.
    bool parseEpd(std::string_view line);
    // The record as one EPD line; omitAnalysis leaves out the opcodes of the engine's analysis.
    std::string toEpd(bool omitAnalysis) const;
    void clear() { *this = TestPosition{}; }
    // A record without placement is empty: the run skips it.
    bool isEmpty() const { return placement.empty(); }
    std::string fenText() const;
    // 0 when both records describe the same board, side, castling rights and en-passant
    // square; otherwise the code of the first difference.
    int comparePosition(const TestPosition& other) const;

    bool operator==(const TestPosition&) const = default;
};

// The operand of a string-valued opcode: a quoted text (with \" and \\ escapes) or, unquoted,
// its first word. A quote that never closes keeps the rest of the text.
std::string readStringOperand(std::string_view text);

}  // namespace tarnwick
