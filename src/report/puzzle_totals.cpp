#include "report/puzzle_totals.hpp"

#include <cmath>

#include "text/text.hpp"

namespace tarnwick {

namespace {

void count(PuzzleCount& counts, bool solved) {
    ++counts.tested;
    counts.solved += solved ? 1 : 0;
}

std::string countText(const PuzzleCount& counts) {
    return std::to_string(counts.solved) + " of " + std::to_string(counts.tested);
}

std::string roundedText(double rating) {
    return std::to_string(std::lround(rating));
}

}  // namespace

PuzzleTotals puzzleTotals(const std::vector<ScoredRecord>& results) {
    PuzzleTotals totals;
    std::vector<std::pair<int32_t, bool>> ratings;
    for (const ScoredRecord& scored : results) {
        if (!scored.verdict.puzzle) continue;
        const bool solved = scored.verdict.solved;
        const int32_t rating = scored.record.puzzle_rating;
        count(totals.all, solved);
        // Rounded down below zero too, and wide enough that the highest band's end fits.
        const int64_t wide = rating;
        count(
            totals.byRating[(wide < 0 ? wide - kRatingBand + 1 : wide) / kRatingBand * kRatingBand],
            solved);
        forEachToken(scored.record.puzzle_themes, [&](std::string_view theme) {
            count(totals.byTheme[std::string(theme)], solved);
            return true;
        });
        ratings.emplace_back(rating, solved);
    }
    if (totals.estimated()) totals.estimate = fitRating(ratings);
    return totals;
}

std::string puzzleText(const PuzzleTotals& totals) {
    if (totals.all.tested == 0) return {};
    std::string text = "\nPuzzles solved: " + countText(totals.all) + " (" +
                       percentOf(totals.all.solved, totals.all.tested) + "%)\n";
    text += "By rating (solved of tested):\n";
    for (const auto& [from, counts] : totals.byRating) {
        text += "  " + std::to_string(from) + "-" + std::to_string(from + kRatingBand - 1) + ": " +
                countText(counts) + "\n";
    }
    if (!totals.byTheme.empty()) text += "By theme (solved of tested):\n";
    for (const auto& [theme, counts] : totals.byTheme) {
        text += "  " + theme + ": " + countText(counts) + "\n";
    }
    if (!totals.estimated()) return text;
    if (!totals.estimate)
        return text + "Rating estimate: none, no rating is solved half the time\n";
    return text + "Rating estimate: " + roundedText(totals.estimate->rating) + " (" +
           roundedText(totals.estimate->low) + " to " + roundedText(totals.estimate->high) +
           ", two standard errors)\n";
}

}  // namespace tarnwick
