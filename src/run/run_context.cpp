#include "run/run_context.hpp"

#include <algorithm>

#include "run/progress.hpp"

namespace tarnwick {

RunContext::RunContext(const Shared& shared, std::vector<size_t> toTest, size_t lanes)
    : shared_(shared),
      queue_(std::move(toTest)),
      console_(shared.screen, lanes),
      searching_(lanes) {
    // Room for this run's records up front: growing a list of large records copies them all.
    records_.reserve(queue_.size());
}

std::string RunContext::positionName(size_t index) const {
    const std::string& id = shared_.suite[index].id;
    return id.empty() ? "position " + std::to_string(index + 1) : id;
}

bool RunContext::store(size_t lane, size_t index, const ScoredRecord& record, RecordOutcome outcome,
                       int32_t engineTime) {
    if (shared_.records.isOpen()) {
        if (const std::string failure = shared_.records.append(record.record.toEpd(false));
            !failure.empty()) {
            console_.write(lane, failure + "\n");
            writeFailed_ = true;
            return false;
        }
    }
    if (shared_.json.isOpen()) {
        if (const std::string failure =
                shared_.json.append(positionJson(record, outcome, engineTime));
            !failure.empty()) {
            console_.write(lane, failure + "\n");
            writeFailed_ = true;
        }
    }
    std::lock_guard lock(mutex_);
    records_.emplace_back(index, record);
    return true;
}

void RunContext::rejected(size_t lane, std::string_view line) {
    if (!rejectionSaid_.exchange(true)) {
        console_.line(lane, "Engine rejected a command: " + std::string(line));
    }
}

void RunContext::restarted(size_t index) {
    std::lock_guard lock(mutex_);
    restarts_.push_back(index);
}

void RunContext::searching(size_t lane, std::optional<size_t> index) {
    searching_[lane] = index ? *index + 1 : 0;
}

void RunContext::positionDone(size_t lane, std::optional<bool> solved) {
    console_.endBlock(lane);
    // Counted and drawn in one hold, so that two lanes ending together never draw the counts
    // out of order.
    std::lock_guard lock(mutex_);
    Progress progress;
    progress.done = ++done_;
    progress.total = queue_.size();
    progress.solved = solved_ += solved.value_or(false) ? 1 : 0;
    progress.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - startedAt_)
                             .count();
    for (const std::atomic<size_t>& index : searching_) {
        if (index != 0) progress.searching.push_back(index);
    }
    console_.status(progressText(progress));
}

std::vector<ScoredRecord> RunContext::takeRecords() {
    std::lock_guard lock(mutex_);
    std::stable_sort(records_.begin(), records_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ScoredRecord> records;
    records.reserve(records_.size());
    for (auto& [index, record] : records_) records.push_back(std::move(record));
    records_.clear();
    return records;
}

std::vector<std::string> RunContext::restarts() const {
    std::lock_guard lock(mutex_);
    std::vector<size_t> sorted = restarts_;
    std::stable_sort(sorted.begin(), sorted.end());
    std::vector<std::string> names;
    for (const size_t index : sorted) names.push_back(positionName(index));
    return names;
}

}  // namespace tarnwick
