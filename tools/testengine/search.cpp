#include "testengine/search.hpp"

#include <algorithm>
#include <cstdlib>

#include "chess/movegen.hpp"

namespace tarnwick::testengine {

namespace {

constexpr int kInfinity = 1000000;
constexpr int kMaxPly = 120;
constexpr int kOrderValue[7] = {0, 1, 3, 3, 5, 9, 20};

bool isTactical(const Move& m) {
    return (m.flags & (MoveCapture | MovePromotion)) != 0;
}

}  // namespace

bool Search::timeUp() {
    return stop_->load(std::memory_order_relaxed) ||
           std::chrono::steady_clock::now() >= deadline_ || (maxNodes_ > 0 && nodes_ >= maxNodes_);
}

// Best first: the previous iteration's move at this ply, captures by victim and attacker,
// promotions, then the killer moves of this ply.
void Search::orderMoves(const Board& board, MoveList& moves, int ply, const Move* first) const {
    int scores[MoveList::kCapacity];
    for (int i = 0; i < moves.count; ++i) {
        const Move& m = moves[i];
        int score = 0;
        if (first != nullptr && sameMove(m, *first)) {
            score = 1000000;
        } else if (isTactical(m)) {
            const int attacker = pieceKind(board.squares[static_cast<size_t>(m.from)]);
            score = 100000 + 100 * kOrderValue[pieceKind(m.captured)] - kOrderValue[attacker] +
                    (m.promotion != Empty ? 900 * kOrderValue[pieceKind(m.promotion)] : 0);
        } else if (ply < kMaxPly && sameMove(m, killers_[ply][0])) {
            score = 90000;
        } else if (ply < kMaxPly && sameMove(m, killers_[ply][1])) {
            score = 80000;
        }
        scores[i] = score;
    }
    // Insertion sort: lists are short and mostly ordered.
    for (int i = 1; i < moves.count; ++i) {
        const Move m = moves[i];
        const int s = scores[i];
        int j = i - 1;
        for (; j >= 0 && scores[j] < s; --j) {
            moves[j + 1] = moves[j];
            scores[j + 1] = scores[j];
        }
        moves[j + 1] = m;
        scores[j + 1] = s;
    }
}

int Search::quiescence(Board& board, int ply, int alpha, int beta) {
    if ((++nodes_ & 1023) == 0 && timeUp()) aborted_ = true;
    if (aborted_) return 0;
    const int standPat = evaluate(board);
    if (standPat >= beta || ply >= kMaxPly) return standPat;
    alpha = std::max(alpha, standPat);

    MoveList moves;
    generateLegal(board, moves);
    MoveList tactical;
    for (const Move& m : moves) {
        if (isTactical(m)) tactical.add(m);
    }
    orderMoves(board, tactical, ply, nullptr);
    for (int i = 0; i < tactical.count; ++i) {
        Move m = tactical[i];
        makeMove(board, m);
        const int score = -quiescence(board, ply + 1, -beta, -alpha);
        unmakeMove(board, m);
        if (aborted_) return 0;
        if (score >= beta) return score;
        alpha = std::max(alpha, score);
    }
    return alpha;
}

int Search::alphaBeta(Board& board, int depth, int ply, int alpha, int beta,
                      std::vector<Move>& pv) {
    pv.clear();
    if ((++nodes_ & 1023) == 0 && timeUp()) aborted_ = true;
    if (aborted_) return 0;
    if (ply >= kMaxPly) return evaluate(board);

    MoveList moves;
    generateLegal(board, moves);
    const bool checked = inCheck(board, board.sideToMove);
    if (moves.count == 0) return checked ? -(kMateScore - ply) : 0;
    // The fifty-move draw is for moves inside the tree: the root must still give a move.
    if (ply > 0 && board.halfMoveClock >= 100) return 0;
    if (checked) ++depth;  // look past checks: mates are what test suites ask for
    if (depth <= 0) return quiescence(board, ply, alpha, beta);

    const Move* first = ply < static_cast<int>(previousPv_.size()) ? &previousPv_[ply] : nullptr;
    orderMoves(board, moves, ply, first);
    std::vector<Move> childPv;
    for (int i = 0; i < moves.count; ++i) {
        Move m = moves[i];
        makeMove(board, m);
        const int score = -alphaBeta(board, depth - 1, ply + 1, -beta, -alpha, childPv);
        unmakeMove(board, m);
        if (aborted_) return 0;
        if (score > alpha) {
            alpha = score;
            pv.assign(1, m);
            pv.insert(pv.end(), childPv.begin(), childPv.end());
            if (alpha >= beta) {
                if (!isTactical(m) && ply < kMaxPly) {
                    killers_[ply][1] = killers_[ply][0];
                    killers_[ply][0] = m;
                }
                return alpha;
            }
        }
    }
    return alpha;
}

Move Search::run(const Board& position, const SearchLimits& limits, const std::atomic<bool>& stop,
                 const std::function<void(const SearchReport&)>& onIteration) {
    const auto started = std::chrono::steady_clock::now();
    stop_ = &stop;
    deadline_ = started + limits.time;
    maxNodes_ = limits.maxNodes;
    nodes_ = 0;
    aborted_ = false;
    previousPv_.clear();
    for (auto& pair : killers_) pair[0] = pair[1] = Move{};

    Board board = position;
    MoveList root;
    generateLegal(board, root);
    if (root.count == 0) return Move{};
    Move best = root[0];

    for (int depth = 1; depth <= limits.maxDepth; ++depth) {
        std::vector<Move> pv;
        const int score = alphaBeta(board, depth, 0, -kInfinity, kInfinity, pv);
        if (aborted_ || pv.empty()) break;
        best = pv.front();
        previousPv_ = pv;
        SearchReport report;
        report.depth = depth;
        report.score = score;
        report.nodes = nodes_;
        report.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now() - started)
                                  .count();
        report.pv = pv;
        onIteration(report);
        // A proven mate needs no deeper look.
        if (std::abs(score) >= kMateThreshold && kMateScore - std::abs(score) <= depth) break;
    }
    return best;
}

}  // namespace tarnwick::testengine
