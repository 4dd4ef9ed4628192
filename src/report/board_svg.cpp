#include "report/board_svg.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "text/text.hpp"

namespace tarnwick {

namespace {

constexpr int kSquare = 40;
constexpr int kLeft = 16;  // room for the rank numbers; the file letters go below
constexpr std::string_view kViewBox = "0 0 352 336";

// The outlines of pawn, knight, bishop, rook, queen and king in a 40-unit square. The body takes
// the piece's fill; "currentColor" draws the details in the colour that stands out on it.
constexpr std::array<std::string_view, 6> kShapes = {
    "<path d=\"M12 34H28C28 28 24 25 23 23A5.5 5.5 0 1 0 17 23C16 25 12 28 12 34Z\"/>",
    "<path d=\"M12 34H30C30 26 30 16 25 11C23 9 20 8.5 19 8L18 6L16 9.5C13 12 10 17 9 21C9 23 "
    "10.5 24 12 23.5C14 22 16 21 18 20.5C17 24 13 27 12 34Z\"/><circle cx=\"15.5\" cy=\"13.5\" "
    "r=\"1.2\" fill=\"currentColor\" stroke=\"none\"/>",
    "<path d=\"M10 31H30V35H10ZM14 30C11 26 12 19 20 11C28 19 29 26 26 30Z\"/><circle cx=\"20\" "
    "cy=\"8.5\" r=\"2.2\"/><path d=\"M17.5 22L23 16.5\" fill=\"none\" stroke=\"currentColor\"/>",
    "<path d=\"M11 34H29V31H27L26 17H28V9H24.5V12H22V9H18V12H15.5V9H12V17H14L13 31H11Z\"/><path "
    "d=\"M14 17H26M13 31H27\" fill=\"none\" stroke=\"currentColor\"/>",
    "<path d=\"M10 30.5H30V34.5H10ZM11 30.5L8 14L13 22L14 11L17.5 21L20 9L22.5 21L26 11L27 "
    "22L32 14L29 30.5Z\"/><circle cx=\"8\" cy=\"13\" r=\"2\"/><circle cx=\"14\" cy=\"10\" "
    "r=\"2\"/><circle cx=\"20\" cy=\"8\" r=\"2\"/><circle cx=\"26\" cy=\"10\" r=\"2\"/><circle "
    "cx=\"32\" cy=\"13\" r=\"2\"/>",
    "<path d=\"M10 30.5H30V34.5H10ZM11 30.5C8 24 10 18 15 18.5C17 18.7 19 20 20 22C21 20 23 18.7 "
    "25 18.5C30 18 32 24 29 30.5ZM18.8 5H21.2V8.2H24.4V10.6H21.2V16.6H18.8V10.6H15.6V8.2H18.8Z\"/>",
};
constexpr std::string_view kKindLetters = "PNBRQK";

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string out = text;
    if (out.ends_with(".0")) out.resize(out.size() - 2);
    return out;
}

// The id of a piece's drawing, "wK" or "bP"; empty for no piece.
std::string pieceId(int32_t code) {
    if (code < WhitePawn || code > BlackKing) return {};
    const char colour = isWhitePiece(code) ? 'w' : 'b';
    return {colour, kKindLetters[static_cast<size_t>(pieceKind(code) - 1)]};
}

double centreX(int square) {
    return kLeft + fileOf(square) * kSquare + kSquare / 2.0;
}
double centreY(int square) {
    return (7 - rankOf(square)) * kSquare + kSquare / 2.0;
}

// The empty board: light squares, dark squares, a frame, and the files and ranks named.
std::string boardDrawing() {
    std::string svg = "<g id=\"bd\"><rect x=\"16\" width=\"320\" height=\"320\" fill=\"#ecdcc0\"/>";
    svg += "<g fill=\"#a6784e\">";
    for (int row = 0; row < 8; ++row) {
        for (int column = (row + 1) % 2; column < 8; column += 2) {
            svg += "<rect x=\"" + std::to_string(kLeft + column * kSquare) + "\" y=\"" +
                   std::to_string(row * kSquare) + "\" width=\"40\" height=\"40\"/>";
        }
    }
    svg += "</g><rect x=\"16\" width=\"320\" height=\"320\" fill=\"none\" stroke=\"#5a4330\"/>";
    svg += "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#555\" text-anchor=\"middle\">";
    for (int i = 0; i < 8; ++i) {
        svg += "<text x=\"8\" y=\"" + std::to_string(i * kSquare + 24) + "\">" +
               std::to_string(8 - i) + "</text><text x=\"" +
               std::to_string(kLeft + i * kSquare + 20) + "\" y=\"332\">" +
               static_cast<char>('a' + i) + "</text>";
    }
    return svg + "</g></g>";
}

// A broad arrow from the centre of the move's square to the centre of its target square.
std::string arrowSvg(const Move& move) {
    const double x1 = centreX(move.from), y1 = centreY(move.from);
    const double x2 = centreX(move.to), y2 = centreY(move.to);
    const double length = std::hypot(x2 - x1, y2 - y1);
    const double ux = (x2 - x1) / length, uy = (y2 - y1) / length;
    const double head = 16, halfWidth = 10;
    const double bx = x2 - ux * head, by = y2 - uy * head;
    return "<g class=\"arrow\" opacity=\".75\" fill=\"#17803d\" stroke=\"#17803d\"><line x1=\"" +
           number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(bx) + "\" y2=\"" +
           number(by) + "\" stroke-width=\"7\"/><polygon points=\"" + number(x2) + "," +
           number(y2) + " " + number(bx - uy * halfWidth) + "," + number(by + ux * halfWidth) +
           " " + number(bx + uy * halfWidth) + "," + number(by - ux * halfWidth) + "\"/></g>";
}

}  // namespace

std::string boardDefinitions() {
    std::string svg =
        "<svg width=\"0\" height=\"0\" style=\"position:absolute\" aria-hidden=\"true\"><defs>";
    for (int32_t code = WhitePawn; code <= BlackKing; ++code) {
        svg += "<g id=\"" + pieceId(code) + "\" " +
               (isWhitePiece(code) ? "fill=\"#fff\" color=\"#000\""
                                   : "fill=\"#262626\" color=\"#eee\"") +
               " stroke=\"#000\" stroke-width=\"1.5\" stroke-linejoin=\"round\">" +
               std::string(kShapes[static_cast<size_t>(pieceKind(code) - 1)]) + "</g>";
    }
    return svg + boardDrawing() + "</defs></svg>\n";
}

std::string boardSvg(const BoardBase& board, const std::optional<Move>& arrow) {
    const bool white = board.sideToMove == White;
    const std::string side = white ? "White to move" : "Black to move";
    std::string svg = "<svg class=\"board\" viewBox=\"" + std::string(kViewBox) +
                      "\" width=\"176\" height=\"168\" role=\"img\" aria-label=\"" + side +
                      "\"><title>" + side + "</title><use href=\"#bd\"/>";
    for (int square = 0; square < kBoardEntries; ++square) {
        if (!onBoard(square)) continue;
        const std::string id = pieceId(board.squares[static_cast<size_t>(square)]);
        if (id.empty()) continue;
        svg += "<use href=\"#" + id + "\" x=\"" + std::to_string(kLeft + fileOf(square) * kSquare) +
               "\" y=\"" + std::to_string((7 - rankOf(square)) * kSquare) + "\"/>";
    }
    if (arrow) svg += arrowSvg(*arrow);
    svg += white ? "<circle class=\"side\" cx=\"344\" cy=\"312\" r=\"7\" fill=\"#fff\""
                 : "<circle class=\"side\" cx=\"344\" cy=\"8\" r=\"7\" fill=\"#000\"";
    return svg + " stroke=\"#000\"/></svg>";
}

std::optional<Move> expectedMove(const Board& board, const TestPosition& record, bool mateTest) {
    if (mateTest) return std::nullopt;
    std::optional<Move> found;
    forEachToken(record.bm, [&](std::string_view word) {
        const Move move = board.parseMove(word);
        if (move.parseStatus == ParseFound && !move.isNull() && move.from != move.to) found = move;
        return !found;
    });
    return found;
}

}  // namespace tarnwick
