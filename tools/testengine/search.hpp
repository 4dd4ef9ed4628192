#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chess/board.hpp"
#include "chess/move.hpp"

namespace tarnwick::testengine {

// Scores at or beyond this distance from zero are mates.
inline constexpr int kMateScore = 32000;
inline constexpr int kMateThreshold = kMateScore - 1000;

// One finished iteration of the search.
struct SearchReport {
    int depth = 0;
    int score = 0;  // centipawns from the side to move, or +-(kMateScore - plies)
    uint64_t nodes = 0;
    int64_t milliseconds = 0;
    std::vector<Move> pv;
};

struct SearchLimits {
    std::chrono::milliseconds time{1000};
    int maxDepth = 64;
    uint64_t maxNodes = 0;  // 0: no limit; checked every 1024 nodes
};

// A small iterative-deepening alpha-beta search with quiescence, meant to show and test the
// tester, not to be strong. stop may be raised from another thread.
class Search {
  public:
    // Searches the position until the limits or stop; calls onIteration after every completed
    // depth and returns the best move (the empty move when there is no legal move).
    Move run(const Board& position, const SearchLimits& limits, const std::atomic<bool>& stop,
             const std::function<void(const SearchReport&)>& onIteration);

  private:
    int alphaBeta(Board& board, int depth, int ply, int alpha, int beta, std::vector<Move>& pv);
    int quiescence(Board& board, int ply, int alpha, int beta);
    bool timeUp();
    void orderMoves(const Board& board, MoveList& moves, int ply, const Move* first) const;

    const std::atomic<bool>* stop_ = nullptr;
    std::chrono::steady_clock::time_point deadline_;
    uint64_t maxNodes_ = 0;
    uint64_t nodes_ = 0;
    bool aborted_ = false;
    std::vector<Move> previousPv_;
    Move killers_[128][2] = {};
};

// Static evaluation in centipawns from the side to move.
int evaluate(const Board& board);

// Coordinate text of a move ("e2e4", "e7e8q").
std::string coordinateText(const Move& move);

}  // namespace tarnwick::testengine
