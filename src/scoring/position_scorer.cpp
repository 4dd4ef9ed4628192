#include "scoring/position_scorer.hpp"

#include <algorithm>
#include <optional>

#include "chess/legality.hpp"
#include "scoring/puzzle.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

// The words of a move list with the moves they name; a word takes the points list's number at
// its running place (counted across the avoid moves, then the best moves), or defaultPoints.
std::vector<PositionScorer::NamedMove> readNamedMoves(const Board& board, std::string_view moves,
                                                      TokenCursor& pointsList,
                                                      int32_t defaultPoints) {
    std::vector<PositionScorer::NamedMove> named;
    forEachToken(moves, [&](std::string_view word) {
        const std::string_view number = pointsList.next();
        named.push_back({std::string(word), board.parseMove(word),
                         number.empty() ? defaultPoints : atoiValue(number)});
        return true;
    });
    return named;
}

// The first named move that is move, or nullptr.
const PositionScorer::NamedMove* find(const std::vector<PositionScorer::NamedMove>& named,
                                      const Move& move) {
    for (const PositionScorer::NamedMove& entry : named) {
        if (entry.move.isValid() && sameMove(entry.move, move)) return &entry;
    }
    return nullptr;
}

// The mate count of a dm operand: a whole number, signed or not, other than 0; 0 when it is none.
int32_t dmCount(std::string_view dm) {
    return isWholeNumber(dm, true) ? atoiValue(dm) : 0;
}

// The "move=points" pairs of a c0 text separated by commas; empty when the text is no such
// list (a comment, a source), so it is not taken for one. The moves are left unread.
std::optional<std::vector<PositionScorer::NamedMove>> readPairs(std::string_view text) {
    std::vector<PositionScorer::NamedMove> pairs;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = trimmedView(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (item.empty()) continue;
        // The last '=' splits, so a promotion such as e8=Q=5 keeps its own.
        const size_t equals = item.rfind('=');
        if (equals == std::string_view::npos || equals == 0) return std::nullopt;
        const std::string_view move = trimmedView(item.substr(0, equals));
        const std::string_view points = trimmedView(item.substr(equals + 1));
        if (move.find_first_of(kBlanks) != std::string_view::npos || !isWholeNumber(points))
            return std::nullopt;
        pairs.push_back({std::string(move), Move{}, atoiValue(points)});
    }
    if (pairs.empty()) return std::nullopt;
    return pairs;
}

// The pairs with one entry per move: a move named again keeps the larger of its points, and
// its first text is added to repeated.
std::vector<PositionScorer::NamedMove> mergeRepeats(std::vector<PositionScorer::NamedMove> pairs,
                                                    std::vector<std::string>& repeated) {
    std::vector<PositionScorer::NamedMove> merged;
    for (PositionScorer::NamedMove& pair : pairs) {
        const auto earlier = std::find_if(merged.begin(), merged.end(), [&](const auto& kept) {
            return sameMove(kept.move, pair.move);
        });
        if (earlier == merged.end()) {
            merged.push_back(std::move(pair));
            continue;
        }
        earlier->points = std::max(earlier->points, pair.points);
        if (std::find(repeated.begin(), repeated.end(), earlier->text) == repeated.end())
            repeated.push_back(earlier->text);
    }
    return merged;
}

}  // namespace

int32_t mateTargetOf(const TestPosition& position) {
    const std::string_view bm = trimmedView(position.bm);
    if (bm.starts_with('#') && isWholeNumber(bm.substr(1))) {
        if (const int32_t moves = atoiValue(bm.substr(1)); moves != 0) return moves;
    }
    return dmCount(position.dm);
}

PositionScorer::PositionScorer(const TestPosition& position) {
    board_.setFromFen(position.fenText());
    if (!position.dm.empty() && dmCount(position.dm) == 0) unreadableDm_ = "dm " + position.dm;
    TokenCursor c1(position.c[1]);
    avoid_ = readNamedMoves(board_, position.am, c1, -1);
    best_ = readNamedMoves(board_, position.bm, c1, 1);
    mateTarget_ = mateTargetOf(position);
    // A puzzle is solved whole or not at all, whatever its first move or mate.
    puzzle_ = isPuzzle(position);
    if (puzzle_) mateTarget_ = 0;
    if (mateTarget_ != 0 || puzzle_) {
        maximum_ = 1;
        return;
    }

    if (position.c[1].empty()) {
        if (std::optional<std::vector<NamedMove>> pairs = readPairs(position.c[0])) {
            for (NamedMove& pair : *pairs) {
                pair.move = board_.parseMove(pair.text);
                if (!pair.move.isValid()) {
                    rejectedPair_ = pair.text + "=" + std::to_string(pair.points);
                    break;
                }
            }
            if (rejectedPair_.empty()) {
                pointsList_ = mergeRepeats(std::move(*pairs), repeatedMoves_);
                for (const NamedMove& pair : pointsList_)
                    maximum_ = std::max(maximum_, pair.points);
                return;
            }
        }
    }

    maximum_ = position.bm.empty() ? 0 : 1;
    forEachToken(position.c[1], [&](std::string_view number) {
        maximum_ = std::max(maximum_, atoiValue(number));
        return true;
    });
}

int32_t PositionScorer::points(const Move& move) const {
    if (isMateTest()) return 0;
    if (isPointsSuite()) {
        const NamedMove* pair = find(pointsList_, move);
        return pair ? pair->points : 0;
    }
    if (const NamedMove* avoid = find(avoid_, move)) return avoid->points;
    if (const NamedMove* best = find(best_, move)) return best->points;
    return 0;
}

int32_t PositionScorer::pointsOfText(std::string_view text) const {
    if (text.empty()) return 0;
    const Move move = board_.parseMove(text);
    return move.isValid() ? points(move) : 0;
}

int32_t PositionScorer::earned(const TestPosition& record) const {
    if (puzzle_) return puzzleSolved(record) ? 1 : 0;
    if (!isMateTest()) return pointsOfText(record.pm);
    return isBestMate(record.mate) ? 1 : 0;
}

bool PositionScorer::isBestMate(int32_t reportedMate) const {
    const MateVerdict verdict = mateVerdict(reportedMate);
    return verdict == MateVerdict::best || verdict == MateVerdict::shorter;
}

MateVerdict PositionScorer::mateVerdict(int32_t reportedMate) const {
    const bool sameSide =
        (reportedMate > 0 && mateTarget_ > 0) || (reportedMate < 0 && mateTarget_ < 0);
    if (!sameSide) return MateVerdict::none;
    if (reportedMate == mateTarget_) return MateVerdict::best;
    // Only a winner's mate can be shorter than the suite's: a defender mated sooner than it
    // says has defended worse, which is no better answer.
    if (mateTarget_ > 0 && reportedMate < mateTarget_) return MateVerdict::shorter;
    return MateVerdict::found;
}

std::vector<std::string> PositionScorer::unreadableMoves() const {
    std::vector<std::string> words;
    for (const auto* list : {&best_, &avoid_}) {
        if (isMateTest()) break;  // its "#3" is no move to read
        for (const NamedMove& named : *list) {
            if (!named.move.isValid()) words.push_back(named.text);
        }
    }
    if (!unreadableDm_.empty()) words.push_back(unreadableDm_);
    return words;
}

Verdict PositionScorer::verdictOf(const TestPosition& record) const {
    Verdict verdict;
    verdict.points = earned(record);
    verdict.maximum = maximum_;
    verdict.solved = verdict.points == maximum_ && whyNotLegal(record.fenText()).empty();
    if (verdict.solved) verdict.foundTime = std::max(record.acs, -1);
    verdict.mateTest = isMateTest();
    verdict.mateTarget = mateTarget_;
    if (verdict.mateTest) verdict.mate = mateVerdict(record.mate);
    forEachToken(record.matecheck, [&](std::string_view word) {
        if (const std::optional<MateLine> kind = mateLineOfWord(word)) {
            verdict.mateLines.push_back(*kind);
        }
        return true;
    });
    verdict.pointsSuite = isPointsSuite();
    verdict.puzzle = puzzle_;
    verdict.unreadable = unreadableMoves();
    verdict.rejectedPair = rejectedPair_;
    verdict.repeatedMoves = repeatedMoves_;
    return verdict;
}

ScoredRecord scoreRecord(TestPosition record) {
    Verdict verdict = PositionScorer(record).verdictOf(record);
    return {std::move(record), std::move(verdict), {}};
}

std::vector<ScoredRecord> scoreRecords(std::vector<TestPosition> records) {
    std::vector<ScoredRecord> scored;
    scored.reserve(records.size());
    for (TestPosition& record : records) scored.push_back(scoreRecord(std::move(record)));
    return scored;
}

}  // namespace tarnwick
