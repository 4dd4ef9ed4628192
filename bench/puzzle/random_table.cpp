// Writes a puzzle table of random but valid puzzles for bench/puzzle_read.sh: each row is a
// stretch of a random legal game (the position before it, then 2 to 6 of its moves in UCI), with
// a random rating and theme words. About one row in 50 has the theme mateIn2.
// Usage: tarnwick-puzzle-table ROWS [SEED] > table.csv
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "chess/board.hpp"
#include "chess/fen_writer.hpp"
#include "chess/movegen.hpp"
#include "epd/puzzle_file.hpp"

namespace {

using namespace tarnwick;

constexpr int kMaxPlies = 160;

constexpr std::array<std::string_view, 49> kThemes = {
    "advantage",
    "crushing",
    "equality",
    "mate",
    "mateIn1",
    "mateIn3",
    "fork",
    "pin",
    "skewer",
    "discoveredAttack",
    "doubleCheck",
    "hangingPiece",
    "sacrifice",
    "deflection",
    "attraction",
    "clearance",
    "interference",
    "intermezzo",
    "quietMove",
    "defensiveMove",
    "xRayAttack",
    "zugzwang",
    "trappedPiece",
    "exposedKing",
    "kingsideAttack",
    "queensideAttack",
    "backRankMate",
    "smotheredMate",
    "hookMate",
    "arabianMate",
    "anastasiaMate",
    "bodenMate",
    "doubleBishopMate",
    "dovetailMate",
    "promotion",
    "underPromotion",
    "enPassant",
    "castling",
    "capturingDefender",
    "short",
    "long",
    "veryLong",
    "oneMove",
    "master",
    "superGM",
    "rookEndgame",
    "bishopEndgame",
    "pawnEndgame",
    "knightEndgame",
};

std::string uciText(const Move& move) {
    std::string text{
        static_cast<char>('a' + fileOf(move.from)), static_cast<char>('1' + rankOf(move.from)),
        static_cast<char>('a' + fileOf(move.to)), static_cast<char>('1' + rankOf(move.to))};
    if (move.flags & MovePromotion) text += "..nbrq"[pieceKind(move.promotion)];
    return text;
}

// One random game from the start: the FEN before each move and the move.
void playGame(std::mt19937& random, std::vector<std::string>& fens,
              std::vector<std::string>& moves) {
    fens.clear();
    moves.clear();
    Board board;
    board.setFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    for (int ply = 0; ply < kMaxPlies; ++ply) {
        MoveList legal;
        generateLegal(board, legal);
        if (legal.count == 0) return;
        Move move = legal[static_cast<int>(random() % static_cast<unsigned>(legal.count))];
        fens.push_back(writeFen(board, ply / 2 + 1));
        moves.push_back(uciText(move));
        makeMove(board, move);
    }
}

std::string themesFor(std::mt19937& random, size_t ply) {
    std::string themes(ply < 20 ? "opening" : ply < 60 ? "middlegame" : "endgame");
    for (unsigned n = 1 + random() % 3; n > 0; --n) {
        themes.append(" ").append(kThemes[random() % kThemes.size()]);
    }
    if (random() % 50 == 0) themes += " mateIn2";
    return themes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s ROWS [SEED]\n", argv[0]);
        return 2;
    }
    const long rows = std::atol(argv[1]);
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
    std::string out(kPuzzleHeader);
    out += '\n';
    std::vector<std::string> fens;
    std::vector<std::string> moves;
    for (long written = 0; written < rows;) {
        playGame(random, fens, moves);
        for (size_t i = 0; i + 2 <= moves.size() && written < rows; ++i, ++written) {
            const size_t count = std::min<size_t>(moves.size() - i, 2 + random() % 5);
            out.append("p").append(std::to_string(written)).append(",").append(fens[i]).append(",");
            for (size_t m = i; m < i + count; ++m) out.append(m > i ? " " : "").append(moves[m]);
            out.append(",").append(std::to_string(600 + random() % 2400));
            out.append(",75,90,").append(std::to_string(random() % 5000)).append(",");
            out.append(themesFor(random, i));
            out.append(",https://example.org/game/").append(std::to_string(written / 40));
            out.append("#").append(std::to_string(i)).append(",Italian_Game Italian_Game_Other\n");
            if (out.size() > (1 << 20)) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
