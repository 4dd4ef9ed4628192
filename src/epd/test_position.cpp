#include "epd/test_position.hpp"

#include "chess/board.hpp"

namespace tarnwick {

std::string TestPosition::fenText() const {
    return composeFen(placement, side, castling, enPassant, hmvc, fmvn);
}

int TestPosition::comparePosition(const TestPosition& other) const {
    Board mine;
    mine.setFromFen(fenText());
    Board theirs;
    theirs.setFromFen(other.fenText());
    return mine.compare(theirs);
}

}  // namespace tarnwick
