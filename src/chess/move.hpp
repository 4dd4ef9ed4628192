#pragma once

#include <array>
#include <cstdint>

#include "chess/squares.hpp"

namespace tarnwick {

// Move flags (bit set).
inline constexpr int32_t MoveCapture = 0x01;
inline constexpr int32_t MoveEnPassant = 0x02;
inline constexpr int32_t MoveCastle = 0x04;
inline constexpr int32_t MovePawn = 0x08;
inline constexpr int32_t MoveDoublePush = 0x10;
inline constexpr int32_t MovePromotion = 0x20;
inline constexpr int32_t MoveNull = 0x40;

// Result of reading move text.
inline constexpr int32_t ParseFound = 0;
inline constexpr int32_t ParseTooShort = 1;
inline constexpr int32_t ParseNoUniqueMove = 2;

// One move; the empty move (from = to = 0, no flags) stands for no move.
struct Move {
    int32_t from = 0;
    int32_t to = 0;
    int32_t flags = 0;
    int32_t promotion = 0;
    int32_t captured = 0;
    int32_t prevCastling = 0;
    int32_t prevEpSquare = NoSquare;
    int32_t prevHalfMoveClock = 0;
    int32_t parseStatus = 0;
    // Castling only, filled by makeMove: the former contents of the rook's corner (low byte) and
    // of the square the king passed over (next byte), so that unmaking restores positions whose
    // castling rights have no rook behind them.
    int32_t prevRookSquares = 0;

    bool isNull() const { return (flags & MoveNull) != 0; }
    // A null move, or one whose origin and destination differ.
    bool isValid() const { return isNull() || from != to; }
};

// Same move: both null, or neither null and origin, destination and promotion agree.
inline bool sameMove(const Move& a, const Move& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    return a.from == b.from && a.to == b.to && a.promotion == b.promotion;
}

// A fixed-capacity move list; adding to a full list drops the move.
struct MoveList {
    static constexpr int kCapacity = 1024;
    // Left uninitialised: a list is made for every operation on the analysis hot path, and only
    // the first count entries are ever read.
    union {
        std::array<Move, kCapacity> moves;
    };
    int count = 0;

    MoveList() {}
    MoveList(const MoveList& other) : count(other.count) { copyEntries(other); }
    MoveList& operator=(const MoveList& other) {
        count = other.count;
        copyEntries(other);
        return *this;
    }
    ~MoveList() {}

    void clear() { count = 0; }
    void add(const Move& m) {
        if (count < kCapacity) moves[count++] = m;
    }
    int size() const { return count; }
    const Move& operator[](int i) const { return moves[i]; }
    Move& operator[](int i) { return moves[i]; }
    const Move* begin() const { return moves.data(); }
    const Move* end() const { return moves.data() + count; }

  private:
    void copyEntries(const MoveList& other) {
        for (int i = 0; i < count; ++i) moves[i] = other.moves[i];
    }
};

}  // namespace tarnwick
