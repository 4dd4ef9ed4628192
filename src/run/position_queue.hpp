#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <vector>

namespace tarnwick {

// The suite entries still to test, in suite order, handed out one at a time to whichever
// engine asks next.
class PositionQueue {
  public:
    explicit PositionQueue(std::vector<size_t> indices) : indices_(std::move(indices)) {}

    std::optional<size_t> take() {
        const size_t at = next_.fetch_add(1);
        if (at >= indices_.size()) return std::nullopt;
        return indices_[at];
    }
    size_t size() const { return indices_.size(); }

  private:
    const std::vector<size_t> indices_;
    std::atomic<size_t> next_{0};
};

}  // namespace tarnwick
