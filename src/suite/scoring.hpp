#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chess/board.hpp"
#include "chess/move.hpp"
#include "suite/test_position.hpp"

namespace tarnwick {

// The scoring of one position, prepared once from its FEN, its best and avoid moves and its
// points list; every question about points asks it.
class PositionScorer {
  public:
    // One word of the best or avoid moves: its text, the move it names on the position's
    // board (not valid when it names none), and the points of that move.
    struct NamedMove {
        std::string text;
        Move move;
        int32_t points = 0;
    };

    PositionScorer() = default;
    explicit PositionScorer(const TestPosition& position);

    const Board& board() const { return board_; }

    // The highest points the position awards: 1 when it has best moves (else 0), raised by any
    // larger number of its points list; never below 0.
    int32_t maximum() const { return maximum_; }

    // The points of a move: the number of the points list at the running place of the first
    // avoid or best move that names it (avoid moves first), or the default -1 for an avoid move
    // and 1 for a best move; 0 for any other move.
    int32_t points(const Move& move) const;

    // The points of a move text read on the position's board; 0 when it names no legal move.
    int32_t pointsOfText(std::string_view text) const;

    // The best moves and the avoid moves, word by word as the position gives them.
    const std::vector<NamedMove>& bestMoves() const { return best_; }
    const std::vector<NamedMove>& avoidMoves() const { return avoid_; }

  private:
    Board board_;
    int32_t maximum_ = 0;
    std::vector<NamedMove> best_;
    std::vector<NamedMove> avoid_;
};

}  // namespace tarnwick
