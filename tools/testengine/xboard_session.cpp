#include <cstdlib>
#include <string>

#include "chess/movegen.hpp"
#include "testengine/session.hpp"

namespace tarnwick::testengine {

namespace {

constexpr const char* kFeatures =
    "feature myname=\"Tarnwick test engine\" setboard=1 ping=1 usermove=0 san=0 time=1 "
    "draw=0 sigint=0 sigterm=0 reuse=1 analyze=0 colors=0 done=1";

// The score as xboard shows it: centipawns, or 100000 plus the moves to a mate.
int xboardScore(int score) {
    const int mate = mateInMoves(score);
    if (mate > 0) return 100000 + mate;
    if (mate < 0) return -100000 + mate;
    return score;
}

std::string thinkingLine(const Board& position, const SearchReport& report) {
    std::string text =
        std::to_string(report.depth) + " " + std::to_string(xboardScore(report.score)) + " " +
        std::to_string(report.milliseconds / 10) + " " + std::to_string(report.nodes);
    Board board = position;
    for (Move move : report.pv) {
        const std::string san = board.sanOf(move);
        text += " " + (san.empty() ? coordinateText(move) : san);
        makeMove(board, move);
    }
    return text;
}

// "level" gives the base time as minutes or minutes:seconds.
int64_t baseMilliseconds(const std::string& text) {
    const size_t colon = text.find(':');
    const int64_t minutes = std::atoll(text.c_str());
    const int64_t seconds = colon == std::string::npos ? 0 : std::atoll(text.c_str() + colon + 1);
    return (minutes * 60 + seconds) * 1000;
}

// Square index of a name like "e4", or NoSquare.
int squareNamed(std::string_view name) {
    if (name.size() != 2 || name[0] < 'a' || name[0] > 'h' || name[1] < '1' || name[1] > '8') {
        return NoSquare;
    }
    return squareAt(name[1] - '1', name[0] - 'a');
}

// Castling rights that the pieces' places allow: king and rook on their starting squares.
int32_t castlingFromPlaces(const Board& board) {
    const auto at = [&](int square) { return board.squares[static_cast<size_t>(square)]; };
    int32_t rights = 0;
    if (at(squareAt(0, 4)) == WhiteKing) {
        if (at(squareAt(0, 7)) == WhiteRook) rights |= CastleWhiteKing;
        if (at(squareAt(0, 0)) == WhiteRook) rights |= CastleWhiteQueen;
    }
    if (at(squareAt(7, 4)) == BlackKing) {
        if (at(squareAt(7, 7)) == BlackRook) rights |= CastleBlackKing;
        if (at(squareAt(7, 0)) == BlackRook) rights |= CastleBlackQueen;
    }
    return rights;
}

}  // namespace

XboardSession::XboardSession(Output& out) : out_(out) {
    board_.setFromFen(kStartFen);
}

bool XboardSession::handle(std::string_view line) {
    const std::vector<std::string> words = wordsOf(line);
    if (words.empty()) return true;
    if (editing_) {
        editLine(words);
        return true;
    }
    return handleCommand(words, line);
}

bool XboardSession::handleCommand(const std::vector<std::string>& words, std::string_view line) {
    const std::string& command = words[0];
    const auto number = [&](size_t i) {
        return i < words.size() ? std::atoll(words[i].c_str()) : 0LL;
    };
    if (command == "quit") {
        search_.stop(true);
        return false;
    }
    if (command == "protover") {
        out_.line(kFeatures);
    } else if (command == "ping") {
        out_.line("pong " + (words.size() > 1 ? words[1] : std::string()));
    } else if (command == "new") {
        search_.stop(true);
        board_.setFromFen(kStartFen);
        force_ = false;
        engineSide_ = Black;
        secondsPerMove_ = 0;
        maxDepth_ = 0;
    } else if (command == "force") {
        search_.stop(true);
        force_ = true;
    } else if (command == "setboard") {
        search_.stop(true);
        const size_t start = line.find("setboard") + 8;
        board_.setFromFen(line.substr(start));
    } else if (command == "edit") {
        search_.stop(true);
        editing_ = true;
        editColour_ = White;
        editCastling_ = -1;
        editEpSquare_ = NoSquare;
    } else if (command == "time") {
        ownClockCs_ = number(1);
    } else if (command == "level" && words.size() >= 4) {
        movesPerSession_ = static_cast<int>(number(1));
        ownClockCs_ = baseMilliseconds(words[2]) / 10;
        incrementMs_ = std::atoll(words[3].c_str()) * 1000;
    } else if (command == "st") {
        secondsPerMove_ = number(1);
    } else if (command == "sd") {
        maxDepth_ = static_cast<int>(number(1));
    } else if (command == "post") {
        post_ = true;
    } else if (command == "nopost") {
        post_ = false;
    } else if (command == "go") {
        search_.stop(true);
        force_ = false;
        engineSide_ = board_.sideToMove;
        think();
    } else if (command == "?") {
        search_.requestStop();
    } else if (command == "usermove" && words.size() > 1) {
        userMove(words[1]);
    } else if (command == "xboard" || command == "otim" || command == "hard" || command == "easy" ||
               command == "accepted" || command == "rejected" || command == "random" ||
               command == "computer" || command == "name" || command == "rating" ||
               command == "ics" || command == "result" || command == "draw" || command == "white" ||
               command == "black" || command == "variant" || command == "memory" ||
               command == "cores") {
        // Nothing to do for these in a fixed-strength engine without opponents or pondering.
    } else {
        userMove(command);
    }
    return true;
}

// One line of edit mode: "#" empties the board, "c" switches colour, "Pe4" / "xe4" place and
// remove, "+w00" ... "-b000" and "ep e3" give castling and en passant, "." leaves.
void XboardSession::editLine(const std::vector<std::string>& words) {
    const std::string& word = words[0];
    if (word == ".") {
        leaveEdit();
    } else if (word == "#") {
        for (int rank = 0; rank < 8; ++rank) {
            for (int file = 0; file < 8; ++file) board_.setSquare(squareAt(rank, file), Empty);
        }
    } else if (word == "c") {
        editColour_ = editColour_ == White ? Black : White;
    } else if (word == "ep") {
        editEpSquare_ = words.size() > 1 ? squareNamed(words[1]) : NoSquare;
    } else if ((word[0] == '+' || word[0] == '-') && word.size() >= 4) {
        static constexpr const char* kRights[4] = {"w00", "w000", "b00", "b000"};
        static constexpr int32_t kBits[4] = {CastleWhiteKing, CastleWhiteQueen, CastleBlackKing,
                                             CastleBlackQueen};
        for (int i = 0; i < 4; ++i) {
            if (word.substr(1) != kRights[i]) continue;
            if (editCastling_ < 0) editCastling_ = 0;
            if (word[0] == '+') editCastling_ |= kBits[i];
        }
    } else if (word.size() == 3) {
        const int square = squareNamed(std::string_view(word).substr(1));
        const std::string_view letters = "PNBRQK";
        const size_t kind = letters.find(word[0]);
        if (square == NoSquare) return;
        if (word[0] == 'x') {
            board_.setSquare(square, Empty);
        } else if (kind != std::string_view::npos) {
            board_.setSquare(square,
                             static_cast<int32_t>(kind) + 1 + (editColour_ == Black ? 6 : 0));
        }
    }
}

void XboardSession::leaveEdit() {
    editing_ = false;
    board_.castlingRights = castlingFromPlaces(board_);
    if (editCastling_ >= 0) board_.castlingRights &= editCastling_;
    board_.epSquare = editEpSquare_;
    board_.halfMoveClock = 0;
}

// A move from the user: played when legal; in play mode the engine then answers.
void XboardSession::userMove(const std::string& text) {
    search_.stop(true);
    Move move = readMove(board_, text);
    if (move.from == move.to) {
        const bool looksLikeMove = text.find_first_of("12345678") != std::string::npos ||
                                   text.starts_with("O-O") || text.starts_with("0-0");
        out_.line((looksLikeMove ? "Illegal move: " : "Error (unknown command): ") + text);
        return;
    }
    makeMove(board_, move);
    if (!force_ && board_.sideToMove == engineSide_) think();
}

void XboardSession::think() {
    SearchLimits limits;
    if (secondsPerMove_ > 0) {
        limits.time = std::chrono::milliseconds(secondsPerMove_ * 1000);
    } else {
        limits.time = thinkingTime(ownClockCs_ * 10, incrementMs_, movesPerSession_);
    }
    if (maxDepth_ > 0) limits.maxDepth = maxDepth_;
    const Board start = board_;
    const bool post = post_;
    search_.start(
        board_, limits, false,
        [this, start, post](const SearchReport& report) {
            if (post) out_.line(thinkingLine(start, report));
        },
        [this](const Move& best, bool abandoned) {
            if (abandoned || best.from == best.to) return;
            Move played = best;
            makeMove(board_, played);
            out_.line("move " + coordinateText(best));
        });
}

}  // namespace tarnwick::testengine
