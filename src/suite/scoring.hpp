#pragma once

#include <cstdint>

#include <string>
#include <vector>

#include "chess/board.hpp"
#include "chess/move.hpp"
#include "suite/test_position.hpp"

namespace tarnwick {

// The highest points the position awards: 1 when it has best moves (else 0), raised by any
// larger number of its points list; never below 0.
int32_t maxPoints(const TestPosition& position);

// The points the position awards for a move read on a board set from the position's FEN:
// the number of the points list at the move's running place (avoid moves first, then best
// moves), or the default -1 for an avoid move and 1 for a best move; 0 for any other move.
int32_t movePoints(const TestPosition& position, const Move& move);

// The scoring of one position prepared once: its board, maximum and named moves with their
// points. The watch keeps one and prepares it for every line, which costs only a comparison
// while the position stays the same.
class PositionScorer {
  public:
    void prepare(const TestPosition& position);
    const Board& board() const { return board_; }
    int32_t maximum() const { return maximum_; }
    // movePoints of the prepared position.
    int32_t points(const Move& move) const;

  private:
    struct Named {
        Move move;
        int32_t points;
    };
    std::string key_;
    bool prepared_ = false;
    Board board_;
    int32_t maximum_ = 0;
    std::vector<Named> named_;
};

}  // namespace tarnwick
