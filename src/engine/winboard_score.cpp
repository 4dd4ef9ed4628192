#include "engine/winboard_score.hpp"

#include <cstdlib>

namespace tarnwick {

namespace {

// Mates further than this are taken for scores of their own: no engine reports them.
constexpr int32_t kLongestMatePlies = 1000;

// Scales that count down from a ceiling by the plies to mate.
constexpr int32_t kPlyCeilings[] = {999999, 100000, 30000, 10000};

constexpr int32_t kMovesBase = 100000;

Score mateIn(int32_t moves, bool mating, int32_t printed) {
    Score score;
    score.kind = Score::Kind::mate;
    score.value = mating ? moves : -moves;
    score.printed = printed;
    return score;
}

}  // namespace

Score winboardScore(int32_t printed) {
    const bool mating = printed > 0;
    const int32_t size = printed == INT32_MIN ? INT32_MAX : std::abs(printed);
    if (size > kMovesBase && size - kMovesBase <= kLongestMatePlies / 2) {
        return mateIn(size - kMovesBase, mating, printed);
    }
    for (const int32_t ceiling : kPlyCeilings) {
        const int32_t plies = ceiling - size;
        if (plies > 0 && plies < kLongestMatePlies) {
            // The mating side plays the first and the last ply; the mated side only the first.
            return mateIn(mating ? (plies + 1) / 2 : plies / 2, mating, printed);
        }
    }
    Score score;
    score.value = printed;
    return score;
}

}  // namespace tarnwick
