#include "report/pgn.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chess/board.hpp"
#include "chess/legality.hpp"
#include "chess/movegen.hpp"
#include "report/outcome_files.hpp"
#include "text/text.hpp"
#include "text/utc_time.hpp"

namespace tarnwick {

namespace {

constexpr size_t kLineWidth = 79;  // the width PGN's export format keeps movetext within

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// A tag value between its quotes: backslash and quote escaped, a control byte (a tab, a line
// end) as a blank, since a tag must stay on its line.
std::string tagValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += isControl(c) ? ' ' : c;
    }
    return out;
}

// Text inside a brace comment, which has no escape: braces become parentheses, so that none
// ends the comment early, and control bytes blanks.
std::string commentText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += c == '{' ? '(' : c == '}' ? ')' : isControl(c) ? ' ' : c;
    }
    return out;
}

std::string tag(std::string_view name, std::string_view value) {
    return "[" + std::string(name) + " \"" + tagValue(value) + "\"]\n";
}

// What the suite asks of the position, as EPD writes it: "{id WAC.001; bm Qg6; am Rxb2}".
std::string expectedComment(const TestPosition& record) {
    std::string text;
    const auto add = [&](std::string_view name, const std::string& value) {
        if (value.empty()) return;
        text += (text.empty() ? "" : "; ") + std::string(name) + " " + value;
    };
    add("id", record.id);
    add("bm", record.bm);
    add("am", record.am);
    add("dm", record.dm);
    return text.empty() ? text : "{" + commentText(text) + "}";
}

// The engine's last score and depth: "{+0.35/12}", "{#-3/20}" for a mate test's mate; none
// without analysis.
std::string scoreComment(const TestPosition& record) {
    if (record.acd == 0) return {};
    const std::string depth = "/" + std::to_string(record.acd) + "}";
    if (record.mate != 0) return "{#" + std::to_string(record.mate) + depth;
    const int64_t centipawns = std::abs(static_cast<int64_t>(record.ce));
    const std::string sign = record.ce > 0 ? "+" : record.ce < 0 ? "-" : "";
    const std::string cents = std::to_string(centipawns % 100);
    return "{" + sign + std::to_string(centipawns / 100) + (cents.size() < 2 ? ".0" : ".") + cents +
           depth;
}

// The engine's final line (its final move when it has none) as SAN moves from board, up to the
// first word that names no legal move; a null move ends it too, as PGN has none.
std::vector<std::string> lineMoves(const TestPosition& record, Board board) {
    std::vector<std::string> moves;
    forEachToken(record.pv.empty() ? record.pm : record.pv, [&](std::string_view word) {
        Move move = board.parseMove(word);
        if (!move.isValid() || move.isNull()) return false;
        std::string san = board.sanOf(move);
        if (san.empty() || !playMove(board, move, true)) return false;
        moves.push_back(std::move(san));
        return true;
    });
    return moves;
}

// The movetext's words: the comments, each move with its number where PGN wants one (every
// White move; a Black move first and after a comment), and the result.
std::vector<std::string> movetextWords(const TestPosition& record, const Board& board) {
    std::vector<std::string> words;
    if (std::string expected = expectedComment(record); !expected.empty())
        words.push_back(std::move(expected));
    const std::vector<std::string> moves = lineMoves(record, board);
    std::string score = scoreComment(record);
    int32_t number = record.fmvn > 0 ? record.fmvn : 1;
    bool white = board.sideToMove == White;
    bool numbered = !white;  // whether the next Black move needs its number
    for (const std::string& move : moves) {
        if (white) {
            words.push_back(std::to_string(number) + ". " + move);
        } else {
            words.push_back(numbered ? std::to_string(number) + "... " + move : move);
            ++number;
        }
        numbered = false;
        if (!score.empty()) {
            words.push_back(std::move(score));
            score.clear();
            numbered = true;
        }
        white = !white;
    }
    if (!score.empty()) words.push_back(std::move(score));
    words.emplace_back("*");
    return words;
}

// Words joined by blanks into lines of at most kLineWidth columns; a longer word has a line
// of its own.
std::string wrapped(const std::vector<std::string>& words) {
    std::string text;
    size_t column = 0;
    for (const std::string& word : words) {
        if (column > 0 && column + 1 + word.size() > kLineWidth) {
            text += '\n';
            column = 0;
        } else if (column > 0) {
            text += ' ';
            ++column;
        }
        text += word;
        column += word.size();
    }
    return text + "\n";
}

}  // namespace

std::string pgnGame(const TestPosition& record, const PgnHeader& header) {
    const std::string fen = fenToSend(record.fenText());
    Board board;
    board.setFromFen(fen);
    std::string text = tag("Event", header.event.empty() ? "?" : header.event);
    text += tag("Site", "?");
    text += tag("Date", header.date.empty() ? "????.??.??" : header.date);
    text += tag("Round", "-");
    text += tag("White", header.white.empty() ? "?" : header.white);
    text += tag("Black", "?");
    text += tag("Result", "*");
    text += tag("SetUp", "1");
    text += tag("FEN", fen);
    return text + "\n" + wrapped(movetextWords(record, board));
}

std::string pgnText(const std::vector<ScoredRecord>& results, const PgnHeader& header) {
    std::string text;
    for (const ScoredRecord& scored : results) text += pgnGame(scored.record, header) + "\n";
    return text;
}

std::string pgnDate(std::chrono::system_clock::time_point time) {
    return utcDateText(time, '.');
}

std::string writePgnFile(const std::string& path, const std::vector<ScoredRecord>& results,
                         const PgnHeader& header) {
    return writeWholeFile(path, pgnText(results, header));
}

}  // namespace tarnwick
