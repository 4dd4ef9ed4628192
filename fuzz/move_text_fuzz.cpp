// Positions reached from the input's bytes: every move parseMove reads must be legal, and the
// SAN of every legal move must read back as that move.
#include <array>

#include "chess/movegen.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

namespace {

constexpr std::array<const char*, 6> kStarts = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "Q7/1Q6/2Q2k2/8/8/8/5K2/Q1Q5 w - - 0 1",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    Board board;
    board.setFromFen(kStarts[data[0] % kStarts.size()]);
    // The next bytes up to a 0xFF pick moves to play; the rest is move text.
    size_t at = 1;
    MoveList moves;
    for (; at < size && data[at] != 0xFF; ++at) {
        generateLegal(board, moves);
        if (moves.size() == 0) break;
        Move move = moves[data[at] % moves.size()];
        makeMove(board, move);
    }
    const std::string_view text = fuzz::textOf(data, size).substr(std::min(at + 1, size));

    const Board before = board;
    const Move read = board.parseMove(text);
    require(board.compare(before) == 0, "parseMove changed the board");
    if (read.parseStatus == ParseFound && !read.isNull()) {
        Board scratch = board;
        require(isLegal(scratch, read), "parseMove returned an illegal move");
        generateLegal(scratch, moves);
        bool listed = false;
        for (const Move& m : moves) listed = listed || sameMove(m, read);
        require(listed, "parseMove returned a move the generator does not list");
    }

    generateLegal(board, moves);
    for (const Move& move : moves) {
        const std::string san = board.sanOf(move);
        require(!san.empty(), "a legal move has no SAN");
        require(sameMove(board.parseMove(san), move), "SAN does not read back as its move");
    }
    return 0;
}
