#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

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

    bool isNull() const { return (flags & MoveNull) != 0; }
    // A null move, or one whose origin and destination differ.
    bool isValid() const { return isNull() || from != to; }
};

// Same move: both null, or neither null and origin, destination and promotion agree.
inline bool sameMove(const Move& a, const Move& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    return a.from == b.from && a.to == b.to && a.promotion == b.promotion;
}

// A fixed-capacity move list; adding to a full list drops the move. Its storage is not
// initialised on construction: lists are made on the hot path and filled before they are read.
class MoveList {
  public:
    static constexpr int kCapacity = 1024;

    MoveList() {}  // NOLINT: the storage is deliberately left uninitialised
    MoveList(const MoveList& other) : count(other.count) {
        std::memcpy(storage_, other.storage_, sizeof(Move) * static_cast<size_t>(count));
    }
    MoveList& operator=(const MoveList& other) {
        count = other.count;
        std::memcpy(storage_, other.storage_, sizeof(Move) * static_cast<size_t>(count));
        return *this;
    }

    void clear() { count = 0; }
    void add(const Move& m) {
        if (count < kCapacity) new (storage_ + sizeof(Move) * static_cast<size_t>(count++)) Move(m);
    }
    int size() const { return count; }
    Move* data() { return std::launder(reinterpret_cast<Move*>(storage_)); }
    const Move* data() const { return std::launder(reinterpret_cast<const Move*>(storage_)); }
    const Move& operator[](int i) const { return data()[i]; }
    Move& operator[](int i) { return data()[i]; }
    const Move* begin() const { return data(); }
    const Move* end() const { return data() + count; }

    int count = 0;

  private:
    alignas(Move) std::byte storage_[sizeof(Move) * kCapacity];
};

}  // namespace tarnwick
