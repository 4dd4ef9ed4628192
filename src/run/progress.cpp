#include "run/progress.hpp"

namespace tarnwick {

namespace {

// h:mm:ss, or m:ss under an hour.
std::string clockText(int64_t ms) {
    const int64_t seconds = ms / 1000;
    const auto twoDigits = [](int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    if (seconds < 3600) return std::to_string(seconds / 60) + ":" + twoDigits(seconds % 60);
    return std::to_string(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" +
           twoDigits(seconds % 60);
}

}  // namespace

std::string progressText(const Progress& p) {
    std::string text = std::to_string(p.done) + "/" + std::to_string(p.total) + " done, " +
                       std::to_string(p.solved) + " solved, " + clockText(p.elapsedMs) + " elapsed";
    if (p.done > 0 && p.done < p.total) {
        const int64_t left =
            p.elapsedMs / static_cast<int64_t>(p.done) * static_cast<int64_t>(p.total - p.done);
        text += ", about " + clockText(left) + " left";
    }
    if (!p.searching.empty()) {
        text += "; searching";
        for (size_t i = 0; i < p.searching.size(); ++i) {
            text += (i == 0 ? " " : ", ") + std::to_string(p.searching[i]);
        }
    }
    return text;
}

}  // namespace tarnwick
