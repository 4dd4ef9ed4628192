// The FEN reader takes any bytes; what it reads must survive being written and read again, and
// compare must agree with itself; what is sent of it is sent unchanged a second time.
#include "chess/legality.hpp"
#include "chess/movegen.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    const size_t cut = text.find('\n');
    Board a;
    Board b;
    a.setFromFen(text.substr(0, cut));
    b.setFromFen(cut == std::string_view::npos ? std::string_view{} : text.substr(cut + 1));
    require(a.compare(a) == 0, "a position differs from itself");
    require((a.compare(b) == 0) == (b.compare(a) == 0), "compare is not symmetric");

    Board again;
    again.setFromFen(fuzz::fenOf(a));
    require(again.compare(a) == 0, "written FEN reads back as another position");

    Board copy = a;
    MoveList moves;
    generateLegal(copy, moves);
    require(copy.compare(a) == 0, "generating moves changed the position");
    for (Move move : moves) {
        makeMove(copy, move);
        unmakeMove(copy, move);
        require(copy.compare(a) == 0 && copy.halfMoveClock == a.halfMoveClock,
                "make and unmake do not restore the position");
    }

    // Beyond the reader's 255 characters, dropping rights could bring later text into view.
    const std::string_view first = text.substr(0, cut);
    if (first.size() < 200) {
        const std::string sent = fenToSend(first);
        require(fenToSend(sent) == sent, "the FEN sent changes when sent again");
        require(whyNotLegal(sent) == whyNotLegal(first), "the FEN sent is judged differently");
    }
    return 0;
}
