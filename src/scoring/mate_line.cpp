#include "scoring/mate_line.hpp"

#include <array>
#include <vector>

#include "chess/movegen.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

struct Names {
    MateLine kind;
    std::string_view word;
    std::string_view name;
};

constexpr std::array<Names, 6> kNames{{{MateLine::proved, "ok", "proved"},
                                       {MateLine::shortLine, "short", "short"},
                                       {MateLine::longLine, "long", "long"},
                                       {MateLine::noMate, "nomate", "no mate"},
                                       {MateLine::illegalMove, "illegal", "illegal move"},
                                       {MateLine::draw, "draw", "draw"}}};

// "12." and "12..." number the moves of an xboard line, "..." stands for White's move.
bool isMoveNumber(std::string_view word) {
    return word.find_first_not_of("0123456789.") == std::string_view::npos &&
           word.find('.') != std::string_view::npos;
}

// Whether the side to move, the losing side, could claim a draw here: fifty moves without a
// capture or pawn move, or this position for the third time.
bool drawCanBeClaimed(const Board& board, const std::vector<Board>& seen) {
    if (board.halfMoveClock >= 100) return true;
    int times = 0;
    for (const Board& earlier : seen) times += earlier.compare(board) == 0 ? 1 : 0;
    return times >= 3;
}

}  // namespace

MateLine checkMateLine(const Board& start, int32_t mate, std::string_view line) {
    const int32_t plies = mate > 0 ? 2 * mate - 1 : -2 * mate;
    // Mated in N: the side to move loses; a mate in N: the other side does.
    const int32_t loser = mate > 0 ? 1 - start.sideToMove : start.sideToMove;
    Board board = start;
    std::vector<Board> seen = {board};
    bool drawOnTheWay = false;
    int32_t played = 0;
    TokenCursor words(line);
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        if (isMoveNumber(word)) continue;
        if (board.sideToMove == loser && drawCanBeClaimed(board, seen)) drawOnTheWay = true;
        Move move = board.parseMove(word);
        if (!move.isValid() || move.isNull() || !playMove(board, move, true)) {
            return MateLine::illegalMove;
        }
        seen.push_back(board);
        ++played;
    }
    if (played < plies) return MateLine::shortLine;
    if (played > plies) return MateLine::longLine;
    if (!isCheckmate(board)) return MateLine::noMate;
    return drawOnTheWay ? MateLine::draw : MateLine::proved;
}

std::string_view mateLineWord(MateLine kind) {
    return kNames[static_cast<size_t>(kind)].word;
}

std::optional<MateLine> mateLineOfWord(std::string_view word) {
    for (const Names& names : kNames) {
        if (names.word == word) return names.kind;
    }
    return std::nullopt;
}

std::string_view mateLineName(MateLine kind) {
    return kNames[static_cast<size_t>(kind)].name;
}

}  // namespace tarnwick
