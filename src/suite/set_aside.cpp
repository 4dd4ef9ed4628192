#include "suite/set_aside.hpp"

#include <cstring>
#include <deque>
#include <string>
#include <unordered_map>

#include "chess/board.hpp"

namespace tarnwick {

namespace {

// The fields that decide whether two positions compare equal, packed into a byte string:
// the 64 squares, castling rights, en-passant square and side to move.
std::string positionKey(const TestPosition& record) {
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

}  // namespace

void setAsideTested(std::vector<TestPosition>& suite, const std::vector<TestPosition>& results) {
    if (suite.empty() || results.empty()) return;
    // Suite indices per position, in suite order: the front is the first one not cleared yet.
    std::unordered_map<std::string, std::deque<size_t>> waiting;
    waiting.reserve(suite.size());
    for (size_t i = 0; i < suite.size(); ++i) {
        if (!suite[i].isEmpty()) waiting[positionKey(suite[i])].push_back(i);
    }
    for (const TestPosition& record : results) {
        const auto it = waiting.find(positionKey(record));
        if (it == waiting.end() || it->second.empty()) continue;
        suite[it->second.front()].clear();
        it->second.pop_front();
    }
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
