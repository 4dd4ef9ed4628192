#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chess/board.hpp"
#include "testengine/search_thread.hpp"

// The searching engine's two protocols. Each session owns its game board and search thread;
// the command loop hands it every line and ends when it returns false.
namespace tarnwick::testengine {

class Session {
  public:
    virtual ~Session() = default;
    // Acts on one command line; false after "quit".
    virtual bool handle(std::string_view line) = 0;
};

class UciSession : public Session {
  public:
    explicit UciSession(Output& out);
    bool handle(std::string_view line) override;

  private:
    void setPosition(const std::vector<std::string>& words);
    void go(const std::vector<std::string>& words);

    Output& out_;
    Board board_;
    SearchThread search_;
};

class XboardSession : public Session {
  public:
    explicit XboardSession(Output& out);
    bool handle(std::string_view line) override;

  private:
    bool handleCommand(const std::vector<std::string>& words, std::string_view line);
    void editLine(const std::vector<std::string>& words);
    void leaveEdit();
    void userMove(const std::string& text);
    void think();

    Output& out_;
    Board board_;
    SearchThread search_;
    bool force_ = false;
    int engineSide_ = Black;
    bool post_ = false;
    int64_t ownClockCs_ = 30000;
    int movesPerSession_ = 0;
    int64_t incrementMs_ = 0;
    int64_t secondsPerMove_ = 0;
    int maxDepth_ = 0;
    // Edit mode: the colour of the pieces being placed, and what the castling and en-passant
    // lines said (-1: not given, so the pieces' places decide).
    bool editing_ = false;
    int editColour_ = White;
    int editCastling_ = -1;
    int editEpSquare_ = NoSquare;
};

// The lines' words split on blanks.
std::vector<std::string> wordsOf(std::string_view line);

// A legal move of board named by text, in any notation the board reads, or the empty move.
Move readMove(const Board& board, std::string_view text);

}  // namespace tarnwick::testengine
