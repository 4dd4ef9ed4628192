#include <cstdlib>
#include <string>

#include "chess/movegen.hpp"
#include "testengine/session.hpp"

namespace tarnwick::testengine {

namespace {

std::string infoLine(const SearchReport& report) {
    std::string text = "info depth " + std::to_string(report.depth);
    const int mate = mateInMoves(report.score);
    text += mate != 0 ? " score mate " + std::to_string(mate)
                      : " score cp " + std::to_string(report.score);
    text += " nodes " + std::to_string(report.nodes) + " time " +
            std::to_string(report.milliseconds) + " pv";
    for (const Move& move : report.pv) text += " " + coordinateText(move);
    return text;
}

int64_t numberAfter(const std::vector<std::string>& words, size_t i) {
    return i + 1 < words.size() ? std::atoll(words[i + 1].c_str()) : 0;
}

}  // namespace

UciSession::UciSession(Output& out) : out_(out) {
    board_.setFromFen(kStartFen);
}

bool UciSession::handle(std::string_view line) {
    const std::vector<std::string> words = wordsOf(line);
    if (words.empty()) return true;
    const std::string& command = words[0];
    if (command == "uci") {
        out_.line("id name Tarnwick test engine");
        out_.line("id author the Tarnwick developers");
        out_.line("uciok");
    } else if (command == "isready") {
        out_.line("readyok");
    } else if (command == "ucinewgame") {
        search_.stop(false);
        board_.setFromFen(kStartFen);
    } else if (command == "position") {
        search_.stop(false);
        setPosition(words);
    } else if (command == "go") {
        search_.stop(false);
        go(words);
    } else if (command == "stop") {
        search_.stop(false);
    } else if (command == "quit") {
        search_.stop(true);
        return false;
    }
    return true;
}

// "position startpos|fen <fields> [moves <m> ...]"; unreadable moves end the move list.
void UciSession::setPosition(const std::vector<std::string>& words) {
    size_t i = 1;
    if (i < words.size() && words[i] == "startpos") {
        board_.setFromFen(kStartFen);
        ++i;
    } else if (i < words.size() && words[i] == "fen") {
        std::string fen;
        for (++i; i < words.size() && words[i] != "moves"; ++i) fen += words[i] + " ";
        board_.setFromFen(fen);
    }
    if (i >= words.size() || words[i] != "moves") return;
    for (++i; i < words.size(); ++i) {
        Move move = readMove(board_, words[i]);
        if (move.from == move.to) return;
        makeMove(board_, move);
    }
}

void UciSession::go(const std::vector<std::string>& words) {
    int64_t clock[2] = {-1, -1};
    int64_t increment[2] = {0, 0};
    int movesToGo = 0;
    int64_t moveTime = 0;
    bool infinite = false;
    SearchLimits limits;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& key = words[i];
        if (key == "wtime") clock[White] = numberAfter(words, i);
        if (key == "btime") clock[Black] = numberAfter(words, i);
        if (key == "winc") increment[White] = numberAfter(words, i);
        if (key == "binc") increment[Black] = numberAfter(words, i);
        if (key == "movestogo") movesToGo = static_cast<int>(numberAfter(words, i));
        if (key == "movetime") moveTime = numberAfter(words, i);
        if (key == "depth") limits.maxDepth = static_cast<int>(numberAfter(words, i));
        if (key == "nodes") limits.maxNodes = static_cast<uint64_t>(numberAfter(words, i));
        if (key == "infinite") infinite = true;
    }
    const int side = board_.sideToMove == Black ? Black : White;
    limits.time = kUnlimitedTime;
    if (moveTime > 0) {
        limits.time = std::chrono::milliseconds(moveTime);
    } else if (clock[side] >= 0 && !infinite) {
        limits.time = thinkingTime(clock[side], increment[side], movesToGo);
    }
    if (limits.maxDepth <= 0) limits.maxDepth = 64;
    search_.start(
        board_, limits, infinite,
        [this](const SearchReport& report) { out_.line(infoLine(report)); },
        [this](const Move& best, bool) { out_.line("bestmove " + coordinateText(best)); });
}

}  // namespace tarnwick::testengine
