#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chess/board.hpp"
#include "chess/move.hpp"
#include "epd/test_position.hpp"
#include "scoring/verdict.hpp"

namespace tarnwick {

// The scoring of one position, prepared once from its FEN, its best and avoid moves, its mate
// distance and its points lists; every question about points asks it. Three kinds of record:
// a mate test (bm "#N" or dm N), scored by the engine's mate score; a points suite (no c1, and a
// c0 of "move=points" pairs), scored by that list; and the rest, scored by bm, am and c1.
class PositionScorer {
  public:
    // One word of the best or avoid moves, or one pair of the c0 list: its text, the move it
    // names on the position's board (not valid when it names none), and the points of that move.
    struct NamedMove {
        std::string text;
        Move move;
        int32_t points = 0;
    };

    PositionScorer() = default;
    explicit PositionScorer(const TestPosition& position);

    const Board& board() const { return board_; }

    // The highest points the position awards. A mate test: 1. A points suite: the largest
    // number of its list. Otherwise 1 when it has best moves (else 0), raised by any larger
    // number of c1. Never below 0.
    int32_t maximum() const { return maximum_; }

    // The points of a move. A points suite: the largest number of the pairs naming it. Otherwise
    // the number of c1 at the running place of the first avoid or best move that names it
    // (avoid moves first), or the default -1 for an avoid move and 1 for a best move. 0 for any
    // other move, and for every move of a mate test.
    int32_t points(const Move& move) const;

    // The points of a move text read on the position's board; 0 when it names no legal move.
    int32_t pointsOfText(std::string_view text) const;

    // What a finished record earns: a puzzle 1 when every solver move was found, a mate test by
    // the mate score it carries (mate), any other position by its final move (pm).
    int32_t earned(const TestPosition& record) const;

    // The signed mate distance of a mate test (positive: the side to move mates); 0 when the
    // position is no mate test.
    int32_t mateTarget() const { return mateTarget_; }
    bool isMateTest() const { return mateTarget_ != 0; }
    // How a reported mate score (signed moves, as mateTarget) answers the test.
    MateVerdict mateVerdict(int32_t reportedMate) const;
    // Whether that score earns the test's point: the best mate, or a shorter one.
    bool isBestMate(int32_t reportedMate) const;

    // The best moves and the avoid moves, word by word as the position gives them.
    const std::vector<NamedMove>& bestMoves() const { return best_; }
    const std::vector<NamedMove>& avoidMoves() const { return avoid_; }
    // The pairs of a points suite's c0 list, one per move with the largest of its numbers;
    // empty when the position is scored otherwise.
    const std::vector<NamedMove>& pointsList() const { return pointsList_; }
    // The moves the points list names more than once, by their first text.
    const std::vector<std::string>& repeatedMoves() const { return repeatedMoves_; }
    bool isPointsSuite() const { return !pointsList_.empty(); }
    // The first pair of a c0 points list that names no legal move, so that the list was set
    // aside for the bm and am rules; empty when there is none.
    const std::string& rejectedPair() const { return rejectedPair_; }
    // The best and avoid words that name no legal move (none for a mate test), then a dm that
    // is no mate count, as "dm <operand>".
    std::vector<std::string> unreadableMoves() const;

    // The verdict of a finished record of this position.
    Verdict verdictOf(const TestPosition& record) const;

  private:
    Board board_;
    int32_t maximum_ = 0;
    int32_t mateTarget_ = 0;
    std::vector<NamedMove> best_;
    std::vector<NamedMove> avoid_;
    std::vector<NamedMove> pointsList_;
    std::string rejectedPair_;
    bool puzzle_ = false;
    std::vector<std::string> repeatedMoves_;
    std::string unreadableDm_;
};

// A record read from a file, scored once.
ScoredRecord scoreRecord(TestPosition record);
std::vector<ScoredRecord> scoreRecords(std::vector<TestPosition> records);

// The signed mate distance a record asks for: N of a bm that is the one word "#N", else the
// count of its dm; 0 when it is no mate test.
int32_t mateTargetOf(const TestPosition& position);

}  // namespace tarnwick
