#include "chess/notation.hpp"

#include "chess/move_text.hpp"
#include "chess/movegen.hpp"
#include "text/text.hpp"

namespace tarnwick {

Move Board::parseMove(std::string_view text) const {
    MoveQuery query;
    if (!readMoveText(text, *this, query)) {
        Move none;
        none.parseStatus = ParseTooShort;
        return none;
    }
    BoardBase board = *this;
    MoveList legal;
    generateLegalFor(board, query.piece, legal);
    return findMove(board, legal, query);
}

std::string Board::sanOf(const Move& move) const {
    BoardBase board = *this;
    const bool fromOnBoard = static_cast<unsigned>(move.from) < 128u && onBoard(move.from);
    MoveList legal;
    generateLegalFor(board, fromOnBoard ? board.squares[move.from] : Empty, legal);
    const Move confirmed = confirmMove(board, legal, move);
    if (!confirmed.isValid()) return {};
    char san[kSanBufferSize];
    int length = writeSanBody(board, legal, confirmed, san);
    const bool castling = writesAsCastling(board, confirmed);
    Move record = confirmed;
    makeMove(board, record);
    MoveList replies;
    if (const char mark = checkMark(board, castling, replies)) san[length++] = mark;
    return std::string(san, static_cast<size_t>(length));
}

namespace {

// A board that reads move texts one after another, each against the legal moves of the piece
// it names.
class MoveReader {
  public:
    // Moves never add a king, so a side that starts with at most one keeps at most one; for
    // such a side a move of the legal list always passes playMove's legality test.
    explicit MoveReader(const BoardBase& start) { reset(start); }

    // Starts reading afresh from start.
    void reset(const BoardBase& start) {
        board_ = start;
        kings_[White] = kings_[Black] = 0;
        for (int32_t piece : start.squares) {
            if (piece == WhiteKing) ++kings_[White];
            if (piece == BlackKing) ++kings_[Black];
        }
    }

    // The SAN of the legal move the text names, into san, without its check mark; false when
    // the text names no legal move.
    bool read(std::string_view text, char* san, int& length, Move& move) {
        MoveQuery query;
        if (!readMoveText(text, board_, query)) return false;
        generateLegalFor(board_, query.piece, legal_);
        const Move found = findMove(board_, legal_, query);
        if (!found.isValid()) return false;
        move = confirmMove(board_, legal_, found);
        if (!move.isValid()) return false;
        length = writeSanBody(board_, legal_, move, san);
        castling_ = writesAsCastling(board_, move);
        return true;
    }

    // Adds the check mark of the move last read and, when advance is set and the move may be
    // played (the rule of playMove with its legality check), leaves it played; true then.
    bool finish(Move move, char* san, int& length, bool advance) {
        const int side = board_.sideToMove;
        const bool checkLegality = kings_[side] > 1;
        const bool pathSafe = !checkLegality || castlingPathSafe(board_, move);
        makeMove(board_, move);
        if (const char mark = checkMark(board_, castling_, replies_)) san[length++] = mark;
        if (!advance || !pathSafe || (checkLegality && inCheck(board_, side))) {
            unmakeMove(board_, move);
            return false;
        }
        return true;
    }

    // The SAN of the legal move the text names, check mark included; with advance the move
    // stays played when it may be. False when the text names no legal move.
    bool san(std::string_view text, char* san, int& length, bool advance) {
        Move move;
        if (!read(text, san, length, move)) return false;
        finish(move, san, length, advance);
        return true;
    }

  private:
    BoardBase board_;
    MoveList legal_;
    MoveList replies_;
    int kings_[2] = {0, 0};
    bool castling_ = false;
};

void appendWord(std::string& out, const char* word, int length) {
    if (!out.empty()) out.push_back(' ');
    out.append(word, static_cast<size_t>(length));
}

}  // namespace

void appendSanVariation(std::string& out, const BoardBase& start, std::string_view tokens) {
    MoveReader reader(start);
    char san[kSanBufferSize];
    forEachToken(tokens, [&](std::string_view token) {
        int length = 0;
        if (reader.san(token, san, length, true)) appendWord(out, san, length);
        return true;
    });
}

std::string sanVariation(const BoardBase& start, std::string_view tokens) {
    std::string out;
    out.reserve(tokens.size() + 8);
    appendSanVariation(out, start, tokens);
    return out;
}

void normaliseNamedMoves(const BoardBase& board, std::string& am, std::string& bm) {
    MoveReader reader(board);
    char san[kSanBufferSize];
    auto rewrite = [&](std::string& operation) {
        if (operation.empty()) return;
        std::string result;
        forEachToken(operation, [&](std::string_view word) {
            int length = 0;
            if (reader.san(word, san, length, false)) {
                appendWord(result, san, length);
            } else {
                // Kept as written, so the record still shows what could not be read and a
                // position with best moves keeps its point.
                appendWord(result, word.data(), static_cast<int>(word.size()));
            }
            return true;
        });
        operation = std::move(result);
    };
    rewrite(am);
    rewrite(bm);
}

void normaliseMoves(std::string_view fen, std::string& am, std::string& bm, std::string& pm,
                    std::string& pv) {
    Board board;
    board.setFromFen(fen);
    normaliseNamedMoves(board, am, bm);
    if (!pm.empty()) {
        const Move move = board.parseMove(pm);
        if (move.isValid()) pm = board.sanOf(move);
    }
    if (!pv.empty()) pv = sanVariation(board, pv);
}

}  // namespace tarnwick
