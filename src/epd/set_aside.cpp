#include "epd/set_aside.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <unordered_map>

#include "chess/board.hpp"

namespace tarnwick {

std::string positionKey(const TestPosition& record) {
    if (record.isEmpty()) return {};
    // Puzzles are told apart by their ids: two can start from one position. No board's key
    // starts with a letter.
    if (!record.puzzle_moves.empty()) return "puzzle " + record.id;
    Board board;
    board.setFromFen(record.fenText());
    std::string key(67, '\0');
    for (int rank = 0; rank < 8; ++rank) {
        for (int file = 0; file < 8; ++file) {
            key[static_cast<size_t>(rank * 8 + file)] =
                static_cast<char>(board.squares[static_cast<size_t>(squareAt(rank, file))]);
        }
    }
    key[64] = static_cast<char>(board.castlingRights);
    key[65] = static_cast<char>(board.epSquare);
    key[66] = static_cast<char>(board.sideToMove);
    return key;
}

std::vector<std::optional<size_t>> matchKeys(const std::vector<std::string>& suite,
                                             const std::vector<std::string>& results) {
    std::vector<std::optional<size_t>> matches(results.size());
    if (suite.empty() || results.empty()) return matches;
    // Suite indices per position, in suite order: the front is the first one not matched yet.
    std::unordered_map<std::string_view, std::deque<size_t>> waiting;
    waiting.reserve(suite.size());
    for (size_t i = 0; i < suite.size(); ++i) {
        if (!suite[i].empty()) waiting[suite[i]].push_back(i);
    }
    for (size_t r = 0; r < results.size(); ++r) {
        const auto it = waiting.find(results[r]);
        if (it == waiting.end() || it->second.empty()) continue;
        matches[r] = it->second.front();
        it->second.pop_front();
    }
    return matches;
}

std::vector<std::optional<size_t>> matchTested(const std::vector<TestPosition>& suite,
                                               const std::vector<TestPosition>& results) {
    if (suite.empty() || results.empty()) return std::vector<std::optional<size_t>>(results.size());
    std::vector<std::string> suiteKeys;
    suiteKeys.reserve(suite.size());
    for (const TestPosition& entry : suite) suiteKeys.push_back(positionKey(entry));
    std::vector<std::string> resultKeys;
    resultKeys.reserve(results.size());
    for (const TestPosition& record : results) resultKeys.push_back(positionKey(record));
    return matchKeys(suiteKeys, resultKeys);
}

void setAsideTested(std::vector<TestPosition>& suite, const std::vector<TestPosition>& results) {
    for (const std::optional<size_t>& match : matchTested(suite, results)) {
        if (match) suite[*match].clear();
    }
}

void putInSuiteOrder(std::vector<TestPosition>& results,
                     const std::vector<std::optional<size_t>>& matches) {
    std::vector<size_t> order(results.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    const auto key = [&](size_t r) { return matches[r].value_or(SIZE_MAX); };
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return key(a) < key(b); });
    std::vector<TestPosition> sorted;
    sorted.reserve(results.size());
    for (const size_t r : order) sorted.push_back(std::move(results[r]));
    results = std::move(sorted);
}

void setAsideOtherShards(std::vector<TestPosition>& suite, int32_t index, int32_t count) {
    if (count <= 1) return;
    int64_t position = 0;
    for (TestPosition& entry : suite) {
        if (entry.isEmpty()) continue;
        if (position++ % count != index) entry.clear();
    }
}

}  // namespace tarnwick
